// Communication settings of the run: the instrument link's line settings, the flash-writing
// speed and the ports the scan found. Defaults at every start; nothing is stored.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vq {

extern std::uint8_t gCommPort;      // 1 = COM1
extern std::string gCommBaud;       // "307200"
extern std::uint8_t gUpdateBaud;    // index into the writing rates, default 3 (38400)
extern std::string gCommParity;     // "O"
extern std::string gCommDataBits;   // "8"
extern std::string gCommStopBits;   // "1"
extern std::uint8_t gCommFlow;      // 0 none, 1 Xon/Xoff, 2 RTS/CTS, 3 both
extern std::vector<std::uint8_t> gPortList;  // port scan result; {0} when nothing opened

void resetCommSettings();

// Boot mode starts at this rate; the writing speed then follows gUpdateBaud.
constexpr const char* kBootModeSettings = "9600,N,8,1";
// The writing speeds gUpdateBaud indexes, as the dialog lists them.
constexpr const char* kUpdateBaudRates[] = {"9600", "19200", "31250", "38400", "76800", "153600"};
constexpr int kUpdateBaudCount = 6;

}  // namespace vq
