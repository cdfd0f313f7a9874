#include <filesystem>
#include <system_error>

#include "platform/native/com_port_map.h"

namespace vq::native {

std::vector<std::string> ComPortMap::systemDevices(const std::string& sysClassTty) {
  namespace fs = std::filesystem;
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(sysClassTty, ec)) {
    std::error_code linkEc;
    // A tty with a device behind it (a UART, a USB adapter); the virtual ones have none.
    if (!fs::exists(e.path() / "device", linkEc)) continue;
    const fs::path real = fs::canonical(e.path(), linkEc);
    if (!linkEc && real.string().find("/devices/virtual/") != std::string::npos) continue;
    out.push_back("/dev/" + e.path().filename().string());
  }
  return out;
}

}  // namespace vq::native
