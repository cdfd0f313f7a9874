// A window program's life around its window, the same for every window: its command line
// (front/window_options.h), --check-port, the update record and the journal store installed,
// the instruments left half-updated listed once the window is up, and the attempt still open
// ended as stopped when the window closes. A window's main() parses, builds its windows, opens
// a WindowSession and runs its loop.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "front/window_options.h"
#include "platform/native/journal_files.h"
#include "platform/native/update_log.h"
#include "platform/trace/serial_trace.h"

namespace vq::front {

// --check-port: needs no window; the program's exit status.
int runCheckPort(const WindowOptions& options);
// --trace FILE opened for program ("vq-update 1.1.0"); false with the line saying why.
bool openTrace(TraceFile& trace, const WindowOptions& options, const std::string& program, std::string& why);

class WindowSession {
 public:
  // program: "vq-update 1.1.0", in the record and before the lines on stderr.
  WindowSession(const native::ComPortMap& map, const std::string& program);
  ~WindowSession();
  WindowSession(const WindowSession&) = delete;
  WindowSession& operator=(const WindowSession&) = delete;

  // The window is up: the unfinished updates listed (the autopilot walks a fresh update of its
  // own simulator and lists nothing).
  void windowShown(bool autopilot);
  // The window has closed: an attempt between steps 2 and 7 ends as stopped.
  void windowClosed();

 private:
  native::UpdateLog log_;
  native::JournalFiles journal_;
};

}  // namespace vq::front
