#include "front/window_options.h"

#include "base/arg_reader.h"

namespace vq::front {

const char* const kWindowUsage =
    "usage: vq-update [--com N=PATH]... [--trace FILE] [--autopilot DIR --file PATH]\n"
    "       vq-update [--com N=PATH]... --check-port [COMn|PATH]\n"
    "       vq-update --version\n";

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

}  // namespace vq::front
