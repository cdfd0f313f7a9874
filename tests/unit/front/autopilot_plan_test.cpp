// The autopilot's report of the progress text: new and rewritten lines, a counting line at
// most once a second.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/forms.h"
#include "app/reset_all_state.h"
#include "base/state.h"
#include "front/autopilot_plan.h"

namespace vq::test {
namespace {

using Lines = std::vector<std::string>;

// A sequence of progress texts as the wizard shows them, and what gets printed each time.
TEST(AutopilotPlan, PrintsNewLinesAndCountingLinesOnceASecond) {
  resetAllState();
  struct Case {
    const char* text;
    std::int64_t ms;
    Lines printed;
  };
  const std::vector<Case> cases{
      {"Connection started", 0, {"Connection started"}},
      {"Connection started", 10, {}},
      // the start line rewritten as the done line: a different line, printed
      {"Connection completed", 20, {"Connection completed"}},
      {"Connection completed\r\nNow writing new firmware 0 Block", 30, {"Now writing new firmware 0 Block"}},
      // counting on: held back within the second, then the value of that moment
      {"Connection completed\r\nNow writing new firmware 1 Block", 40, {}},
      {"Connection completed\r\nNow writing new firmware 2 Block", 500, {}},
      {"Connection completed\r\nNow writing new firmware 300 Block", 1100, {"Now writing new firmware 300 Block"}},
      {"Connection completed\r\nNow writing new firmware 301 Block", 1200, {}},
      // the counter replaced by its done line, however soon: always printed
      {"Connection completed\r\nWriting new firmware completed", 1210, {"Writing new firmware completed"}},
      // a new step clears the text; its first line is new again
      {"", 1300, {}},
      {"Connection completed", 1310, {"Connection completed"}},
  };
  front::AutopilotPlan plan;
  Lines printed;
  plan.print = [&](const std::string& line) {
    if (line.rfind("PROGRESS: ", 0) == 0) printed.push_back(line.substr(10));
  };
  for (const auto& c : cases) {
    printed.clear();
    frmMain.txtProcess.text = c.text;
    plan.report(c.ms);
    EXPECT_EQ(printed, c.printed) << c.text << " at " << c.ms;
  }
}

}  // namespace
}  // namespace vq::test
