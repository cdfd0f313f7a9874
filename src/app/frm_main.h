// The main window frmMain as a form model, and its event procedures.
#pragma once
#include <array>

#include "app/controls.h"
#include "platform/platform.h"

namespace vq {

struct FrmMain : FormBase {
  Label fraProcess;                  // frame caption
  std::array<Label, 8> lblProcess;   // lblProcess01 .. lblProcess08
  TextBox txtInfo;
  TextBox txtProcess;
  ProgressBar prgProcess;
  StatusBar stsAppStatus;
  Label fraFWInfo;
  Label lblFWFileTitle, lblFWFile;
  Label lblFWOldTitle, lblFWOld;
  Label lblFWTo;
  Label lblFWNewTitle, lblFWNew;
  Button cmdFWFileSel;
  Button cmdCommSetting;
  Button cmdForceUpdate;
  Button cmdCancel;
  Button cmdNext;
  bool busyCursor = false;
  bool stepRunning = false;  // step 2, 5 or 7 is running: the close box is refused
};

extern FrmMain frmMain;

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
