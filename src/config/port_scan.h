#pragma once
#include <string>

namespace vq {

// The link settings text, e.g. "307200,O,8,1".
std::string fncLinkSettings();
// Fills gPortList with the ports 1..16 that open; the port's number and settings are restored.
void subPortScan();

}  // namespace vq
