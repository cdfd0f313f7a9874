// A window program's command line, the same for every window:
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

}  // namespace vq::front
