#include "platform/native/port_check.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace vq::native {

std::string fncPortCheckText(const PortCheck& c) {
  std::ostringstream o;
  o << (c.comPort > 0 ? "COM" + std::to_string(c.comPort) : std::string("(no COM number)")) << "  " << c.path;
  if (!c.byId.empty()) o << "  " << c.byId;
  o << "\n";
  if (c.exists) {
#ifdef _WIN32
    // Windows names the driver's device (VCP0: FTDI, Silabser0: CP210x, USBSER000: CDC).
    o << "  device: driver " << (c.driver.empty() ? "unknown" : c.driver);
#else
    o << "  device: " << (c.usbId.empty() ? "not USB" : "USB " + c.usbId) << ", driver "
      << (c.driver.empty() ? "unknown" : c.driver);
#endif
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

int fncCheckPorts(const ComPortMap& map, const std::string& which, std::FILE* out) {
  // The numbers the window scans, for the COM number of a device path.
  constexpr int kScannedComs = 16;
#ifdef _WIN32
  const char* const plugIn = "plug the USB cable in (Device Manager, Ports (COM & LPT), lists the ports)";
#else
  const char* const plugIn = "plug the USB cable in (dmesg | tail names the device)";
#endif
  auto comOf = [&](const std::string& path) {
    for (int n = 1; n <= kScannedComs; ++n)
      if (map.pathFor(n) == path) return n;
    return 0;
  };
  std::vector<std::pair<int, std::string>> ports;
  std::string head = which.substr(0, 3);
  for (char& c : head) c = char(std::toupper(static_cast<unsigned char>(c)));
  const int comNumber = head == "COM" ? std::atoi(which.c_str() + 3) : 0;
  if (which.empty()) {
    const std::vector<std::string> system = ComPortMap::systemDevices();
    for (const std::string& p : system) ports.emplace_back(comOf(p), p);
    for (const auto& [n, path] : map.pins())
      if (comOf(path) == n && std::find(system.begin(), system.end(), path) == system.end()) ports.emplace_back(n, path);
    if (ports.empty()) {
      std::fprintf(out, "no serial device found: %s\n", plugIn);
      return 1;
    }
  } else if (comNumber > 0) {
    const int n = comNumber;
    const std::string path = map.pathFor(n);
    if (path.empty()) {
      std::fprintf(out, "COM%d maps to no serial device: %s, or pin it with --com %d=PATH\n", n, plugIn, n);
      return 1;
    }
    ports.emplace_back(n, path);
  } else {
    ports.emplace_back(comOf(which), which);
  }
  bool allUsable = true;
  for (const auto& [com, path] : ports) {
    const PortCheck c = fncCheckPort(com, path);
    std::fputs(fncPortCheckText(c).c_str(), out);
    allUsable = allUsable && c.usable();
  }
  return allUsable ? 0 : 1;
}

}  // namespace vq::native
