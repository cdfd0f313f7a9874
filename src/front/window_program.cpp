#include "front/window_program.h"

#include <cstdio>

#include "app/update_attempt.h"
#include "app/update_journal_steps.h"
#include "base/arg_reader.h"
#include "base/progress.h"
#include "base/texts.h"
#include "front/click_gate.h"
#include "platform/native/port_check.h"

namespace vq::front {

const char* const kWindowUsage =
    "usage: vq-update [--com N=PATH]... [--trace FILE] [--autopilot DIR --file PATH]\n"
    "       vq-update [--com N=PATH]... --check-port [COMn|PATH]\n"
    "       vq-update --version\n";

namespace {
constexpr Text kRecordFailed{"更新記録を書き込めませんでした：", "The update record could not be written: "};
}  // namespace

std::optional<std::string> parseWindowOptions(const std::vector<std::string>& args, WindowOptions& o) {
  ArgReader r(args);
  while (!r.done()) {
    const std::string a = r.name();
    std::string value;
    if (r.flag("--version")) {
      o.version = true;
    } else if (r.flag("--check-port")) {
      o.checkPort = true;
      r.optionalValue(o.checkWhich);
    } else if (a != "--autopilot" && a != "--file" && a != "--trace" && a != "--com") {
      return "unknown argument: " + r.current();
    } else if (r.value(a, value) != ArgReader::Took::Yes) {
      return a + " needs a value";
    } else if (a == "--com") {
      int number = 0;
      std::string path;
      if (!native::parseComPin(value, number, path))
        return "--com expects N=PATH, e.g. --com 1=/dev/ttyUSB0; got \"" + value + "\"";
      o.map.pin(number, path);
    } else {
      (a == "--autopilot" ? o.autopilotDir : a == "--file" ? o.autopilotFile : o.trace) = value;
    }
  }
  if (!o.version && !o.checkPort && o.autopilotDir.empty() != o.autopilotFile.empty())
    return std::string("--autopilot and --file go together");
  return std::nullopt;
}

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
