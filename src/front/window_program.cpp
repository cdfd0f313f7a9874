#include "front/window_program.h"

#include <cstdio>

#include "app/update_attempt.h"
#include "app/update_journal_steps.h"
#include "base/progress.h"
#include "base/texts.h"
#include "front/click_gate.h"
#include "platform/native/port_check.h"

namespace vq::front {

namespace {
constexpr Text kRecordFailed{"更新記録を書き込めませんでした：", "The update record could not be written: "};
}  // namespace

int runCheckPort(const WindowOptions& o) { return native::fncCheckPorts(o.map, o.checkWhich, stdout); }

bool openTrace(TraceFile& trace, const WindowOptions& o, const std::string& program, std::string& why) {
  return o.trace.empty() || trace.open(o.trace, program, why);
}

WindowSession::WindowSession(const native::ComPortMap& map, const std::string& program)
    : log_(map, program), journal_(map) {
  // One line per attempted update; a record that cannot be written is said below the progress
  // lines and on stderr, and the update goes on.
  const std::string name = program.substr(0, program.find(' '));
  log_.onError = [name](const std::string& why) {
    const std::string text = pick(kRecordFailed) + why;
    std::fprintf(stderr, "%s: %s\n", name.c_str(), text.c_str());
    subShowBelowProgress(text);
  };
  installUpdateRecordSink(&log_);
  installJournalStore(&journal_);
}

WindowSession::~WindowSession() {
  installUpdateRecordSink(nullptr);
  installJournalStore(nullptr);
}

void WindowSession::windowShown(bool autopilot) {
  if (!autopilot) runProcedure(subListUnfinished);
}

void WindowSession::windowClosed() { noteUpdateStopped(); }

}  // namespace vq::front
