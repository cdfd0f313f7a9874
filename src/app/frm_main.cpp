// PLACEHOLDER until the wizard lands.
#include "app/frm_main.h"

#include "app/state.h"

namespace vq {
FrmMain frmMain;
void frmMain_Load() {
  resetAllState();
  frmMain.caption = "VQ SYSTEM  Firmware update tool (Ver1.1.0)";
}
void cmdNext_Click() {}
void cmdCancel_Click() { platform().quit(); }
void cmdFWFileSel_Click() {}
void cmdCommSetting_Click() {}
void cmdForceUpdate_Click() {}
bool frmMain_QueryUnload() { return !frmMain.stepRunning; }
void tmrComm_Timer() {}
void mscComm_OnComm(CommEvent) {}
}  // namespace vq
