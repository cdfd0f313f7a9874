// The system's serial device map (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM): each port with the
// driver's device behind it. Used by the *_win32.cpp files only.
#pragma once
#include <string>
#include <vector>

namespace vq::native {

struct SerialMapEntry {
  std::string device;  // the driver's device: "\Device\Serial0", "\Device\VCP0" (FTDI)
  std::string port;    // "COM3"
};

std::vector<SerialMapEntry> windowsSerialMap();

}  // namespace vq::native
