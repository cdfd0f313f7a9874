// A window program's life around its window, the same for every window: its command line,
// --check-port, the update record and the journal store installed, the instruments left
// half-updated listed once the window is up, and the attempt still open ended as stopped when
// the window closes. A window's main() parses, builds its windows, opens a WindowSession and
// runs its loop.
//   vq-update [--com N=PATH]...   pin COM N to a serial device (e.g. --com 1=/dev/ttyUSB0)
//             [--trace FILE]      every byte and line change on the port into FILE
//             [--autopilot DIR --file PATH]
//                                 walk the whole update by itself with PATH as the update file,
//                                 saving a PNG of every step in DIR (see front/autopilot_plan.h)
//   vq-update [--com N=PATH]... --check-port [COMn|PATH]
//                                 what stands between this user and the port (every serial
//                                 device when none is given); exit status 0 when usable
//   vq-update --version
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/native/com_port_map.h"
#include "platform/native/journal_files.h"
#include "platform/native/update_log.h"
#include "platform/trace/serial_trace.h"

namespace vq::front {

extern const char* const kWindowUsage;

struct WindowOptions {
  native::ComPortMap map;  // with the --com pins
  std::string trace;
  std::string autopilotDir, autopilotFile;
  bool checkPort = false;
  std::string checkWhich;
  bool version = false;
};

// argv[1..]; the line saying why, when refused (exit status 2).
std::optional<std::string> parseWindowOptions(const std::vector<std::string>& args, WindowOptions& out);
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
