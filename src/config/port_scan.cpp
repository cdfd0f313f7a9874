#include "config/port_scan.h"

#include "base/comm_settings.h"
#include "platform/platform.h"

namespace vq {

namespace {
// The scan probes with the instrument's parity at a rate every port accepts.
constexpr const char* kScanSettings = "9600,o,8,1";
constexpr int kFirstScannedPort = 1;
constexpr int kLastScannedPort = 16;

// Runs one statement of the scan; a port failure skips it and the scan goes on.
template <class F>
bool tryPort(F&& f) {
  try {
    f();
    return true;
  } catch (const SerialError&) {
    return false;
  }
}
}  // namespace

std::string fncLinkSettings() {
  return gCommBaud + "," + gCommParity + "," + gCommDataBits + "," + gCommStopBits;
}

void subPortScan() {
  SerialPort& port = mscComm();
  const int savedNumber = port.commPort();
  const std::string savedSettings = port.settings();

  tryPort([&] { port.setSettings(kScanSettings); });
  gPortList.assign(1, 0);
  std::size_t found = 0;
  for (int candidate = kFirstScannedPort; candidate <= kLastScannedPort; ++candidate) {
    bool ok = tryPort([&] { port.setCommPort(candidate); });
    ok = tryPort([&] { port.setPortOpen(true); }) && ok;
    if (ok) {
      gPortList.resize(found + 1);
      gPortList[found] = static_cast<std::uint8_t>(port.commPort());
      ++found;
    }
    // Also after a failed open: leaves no port open behind the scan.
    tryPort([&] { port.setPortOpen(false); });
  }

  tryPort([&] { port.setCommPort(savedNumber); });
  tryPort([&] { port.setSettings(savedSettings); });
}

}  // namespace vq
