// The procedures of the port settings dialog frmPortConf (its model is in base/forms.h).
#pragma once
#include <cstdint>
#include <string>

#include "base/forms.h"
#include "platform/platform.h"

namespace vq {

// The entries of the dialog's lists, in list order; the terminal front end offers the same.
inline constexpr const char* kCommBaudrates[] = {"110",   "300",   "1200",  "2400",  "4800",  "9600",
                                                 "19200", "38400", "56000", "115200", "307200"};
// Parity words, in list order; gCommParity holds the first letter.
inline constexpr const char* kParities[] = {"Even", "None", "Odd", "Space", "Mark"};
inline constexpr const char* kDataBits[] = {"4", "5", "6", "7", "8"};
inline constexpr int kLowestDataBits = 4;
inline constexpr const char* kStopBits[] = {"1", "1.5", "2"};
inline constexpr const char* kFlows[] = {"No handshake", "Xon / Xoff", "RTS / CTS", "Xon/Xoff RTS/CTS"};

// Opens the dialog for the given port (modeless).
void subSetPort(SerialPort& port);
void frmPortConf_Load();
void frmPortConf_cmdSet_Click();
void frmPortConf_cmdCancel_Click();
// The close box: closes without Set and without restore. Every way out of the dialog ends in
// windows().closePortConfDialog(), which must tolerate being called while the window closes.
void frmPortConf_QueryUnload();

}  // namespace vq
