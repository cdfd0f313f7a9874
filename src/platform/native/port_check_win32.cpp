// --check-port on Windows: whether the port opens, which driver serves it (the system's serial
// device map), and whether another program holds it (Windows does not say which).
#include <cstring>

#include "platform/native/port_check.h"
#include "platform/native/serial_device.h"
#include "platform/native/windows_serial_map.h"

namespace vq::native {

namespace {

// The driver's device behind a port ("VCP0" for FTDI, "Silabser0", "USBSER000", "Serial0").
std::string driverDevice(const std::string& port) {
  for (const SerialMapEntry& e : windowsSerialMap())
    if (_stricmp(e.port.c_str(), port.c_str()) == 0) return e.device.substr(e.device.find_last_of('\\') + 1);
  return "";
}

}  // namespace

PortCheck fncCheckPort(int comPort, const std::string& path, const PortCheckRoots&) {
  PortCheck c;
  c.comPort = comPort;
  c.path = path;
  const std::string port = path.substr(path.find_last_of('\\') + 1);
  c.driver = driverDevice(port);
  // Opened as the update opens it, so a copy of this tool holding it counts too.
  SerialDevice device;
  std::string why;
  const SerialDevice::OpenResult r = device.open(path, *parseLineSettings("9600,N,8,1"), 0, why);
  device.close();
  c.exists = r != SerialDevice::OpenResult::NoDevice;
  if (!c.exists) {
    c.problems.push_back(port + " does not exist: plug the USB cable in (Device Manager, Ports (COM & LPT), names "
                         "its number), or check --com.");
    return c;
  }
  c.mayOpen = true;
  if (r == SerialDevice::OpenResult::Refused) {
    c.holder = "another program";
    c.problems.push_back(port + " is held open by another program: close it (a terminal program, another "
                         "vq-update).");
  } else if (r == SerialDevice::OpenResult::Failed) {
    c.whyNot = why;
    c.problems.push_back(why);
  }
  return c;
}

}  // namespace vq::native
