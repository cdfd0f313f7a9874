// The port settings dialog frmPortConf as a form model, and its procedures.
#pragma once
#include "app/controls.h"
#include "platform/platform.h"

namespace vq {

struct FrmPortConf : FormBase {
  Label fraPort;
  Label lblCommPortTitle, lblCommBaudrateTitle, lblUpBaudrateTitle, lblParityTitle;
  Label lblDataBitsTitle, lblStopBitsTitle, lblFlowTitle;
  ComboBox cmbComPort, cmbCommBaudrate, cmbUpBaudrate, cmbParity, cmbDataBits, cmbStopBits, cmbFlowCtl;
  Button cmdSet, cmdCancel;
  int left = 0, top = 0;  // position on the screen
  bool open = false;      // false once a procedure has closed the dialog
};

extern FrmPortConf frmPortConf;

// Opens the dialog for the given port (modeless).
void subSetPort(SerialPort& port);
void frmPortConf_Load();
void frmPortConf_cmdSet_Click();
void frmPortConf_cmdCancel_Click();
// The close box: closes without Set and without restore.
void frmPortConf_QueryUnload();

}  // namespace vq
