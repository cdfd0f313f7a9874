// The procedures of the port settings dialog frmPortConf (its model is in base/forms.h).
#pragma once
#include <cstdint>
#include <string>

#include "base/forms.h"
#include "platform/platform.h"

namespace vq {

// Opens the dialog for the given port (modeless).
void subSetPort(SerialPort& port);
void frmPortConf_Load();
void frmPortConf_cmdSet_Click();
void frmPortConf_cmdCancel_Click();
// The close box: closes without Set and without restore. Every way out of the dialog ends in
// windows().closePortConfDialog(), which must tolerate being called while the window closes.
void frmPortConf_QueryUnload();

}  // namespace vq
