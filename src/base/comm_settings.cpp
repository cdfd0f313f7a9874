#include "base/comm_settings.h"

namespace vq {

std::uint8_t gCommPort = 1;
std::string gCommBaud = "307200";
std::uint8_t gUpdateBaud = 3;
std::string gCommParity = "O";
std::string gCommDataBits = "8";
std::string gCommStopBits = "1";
std::uint8_t gCommFlow = 0;
std::vector<std::uint8_t> gPortList;

void resetCommSettings() {
  gCommPort = 1;
  gCommBaud = "307200";
  gUpdateBaud = 3;
  gCommParity = "O";
  gCommDataBits = "8";
  gCommStopBits = "1";
  gCommFlow = 0;
  gPortList.clear();
}

}  // namespace vq
