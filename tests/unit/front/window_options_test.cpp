// A window program's command line, read by the project's one command-line reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "front/window_program.h"

namespace vq::test {
namespace {

TEST(WindowOptions, ReadAsTheProgramsDocumentThem) {
  struct Row {
    std::vector<std::string> args;
    const char* refused;  // nullptr: accepted
    const char* pin1;     // the path COM1 is pinned to
    const char* which;    // --check-port's port
    const char* trace;
  } const rows[] = {
      {{}, nullptr, "", "", ""},
      {{"--com", "1=/dev/ttyUSB0"}, nullptr, "/dev/ttyUSB0", "", ""},
      {{"--com=1=/dev/ttyUSB1", "--trace=t.log"}, nullptr, "/dev/ttyUSB1", "", "t.log"},
      {{"--com", "x"}, "--com expects N=PATH, e.g. --com 1=/dev/ttyUSB0; got \"x\"", "", "", ""},
      {{"--trace"}, "--trace needs a value", "", "", ""},
      {{"--autopilot", "out"}, "--autopilot and --file go together", "", "", ""},
      {{"--autopilot", "out", "--file", "VQ.bin"}, nullptr, "", "", ""},
      {{"--check-port"}, nullptr, "", "", ""},
      {{"--check-port", "COM1", "--com", "1=/dev/ttyS9"}, nullptr, "/dev/ttyS9", "COM1", ""},
      {{"--check-port", "--com", "1=/dev/ttyS9"}, nullptr, "/dev/ttyS9", "", ""},
      {{"--bogus"}, "unknown argument: --bogus", "", "", ""},
      {{"--version=2"}, "unknown argument: --version=2", "", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args.empty() ? "(none)" : row.args.front());
    front::WindowOptions o;
    const auto refused = front::parseWindowOptions(row.args, o);
    EXPECT_EQ(refused.value_or(""), row.refused ? row.refused : "");
    if (row.refused) continue;
    if (*row.pin1) {
      EXPECT_EQ(o.map.pathFor(1), row.pin1);
    }
    EXPECT_EQ(o.checkWhich, row.which);
    EXPECT_EQ(o.trace, row.trace);
  }
}

}  // namespace
}  // namespace vq::test
