#include "platform/native/port_check.h"

#include <sstream>

namespace vq::native {

std::string fncPortCheckText(const PortCheck& c) {
  std::ostringstream o;
  o << (c.comPort > 0 ? "COM" + std::to_string(c.comPort) : std::string("(no COM number)")) << "  " << c.path;
  if (!c.byId.empty()) o << "  " << c.byId;
  o << "\n";
  if (c.exists) {
    o << "  device: " << (c.usbId.empty() ? "not USB" : "USB " + c.usbId) << ", driver "
      << (c.driver.empty() ? "unknown" : c.driver);
    if (c.latencyTimerMs >= 0) o << ", latency timer " << c.latencyTimerMs << " ms";
    o << "\n  this user may open it: " << (c.mayOpen ? "yes" : "no (" + c.whyNot + ")") << "\n";
    o << "  held open by another program: " << (c.holder.empty() ? "no" : c.holder) << "\n";
#ifndef _WIN32
    o << "  ModemManager: " << (!c.modemManagerRuns ? "not running" : c.modemManagerIgnores ? "running, leaves it alone" : "running, would probe it")
      << "\n  brltty: " << (c.brlttyInstalled ? "installed" : "not installed") << "\n";
#endif
  }
  for (const std::string& p : c.problems) o << "  problem: " << p << "\n";
  o << "  " << (c.usable() ? "usable" : "not usable") << "\n";
  return o.str();
}

}  // namespace vq::native
