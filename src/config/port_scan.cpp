// PLACEHOLDER until the port scan lands.
#include "config/port_scan.h"
namespace vq {
std::string fncLinkSettings() { return "307200,O,8,1"; }
void subPortScan() {}
}  // namespace vq
