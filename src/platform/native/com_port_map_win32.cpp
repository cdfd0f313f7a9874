#include "platform/native/com_port_map.h"
#include "platform/native/windows_serial_map.h"

namespace vq::native {

std::vector<std::string> ComPortMap::systemDevices(const std::string&) {
  std::vector<std::string> out;
  for (const SerialMapEntry& e : windowsSerialMap()) out.push_back("\\\\.\\" + e.port);
  return orderSerialDevices(out);
}

}  // namespace vq::native
