// The procedures of the main window frmMain (its model is in base/forms.h).
#pragma once
#include "base/forms.h"
#include "platform/platform.h"

namespace vq {

// Start-up: state defaults, language, captions, port and timer, step 1.
void frmMain_Load();
void cmdNext_Click();
void cmdCancel_Click();
void cmdFWFileSel_Click();
void cmdCommSetting_Click();
void cmdForceUpdate_Click();
// The close box: false while a step that holds the port runs.
bool frmMain_QueryUnload();
// Timer and serial events, routed by gStep to the link engine or the flash programmer.
void tmrComm_Timer();
void mscComm_OnComm(CommEvent ev);

}  // namespace vq
