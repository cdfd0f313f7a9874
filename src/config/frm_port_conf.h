// The port settings dialog frmPortConf as a form model, and its procedures.
#pragma once
#include <cstdint>
#include <string>

#include "app/controls.h"
#include "platform/platform.h"

namespace vq {

// Inner size of the dialog in pixels; subSetPort centres it with these and the Qt dialog uses them.
constexpr int kPortConfInnerWidth = 420;
constexpr int kPortConfInnerHeight = 360;

struct FrmPortConf : FormBase {
  Label fraPort;
  Label lblCommPortTitle, lblCommBaudrateTitle, lblUpBaudrateTitle, lblParityTitle;
  Label lblDataBitsTitle, lblStopBitsTitle, lblFlowTitle;
  ComboBox cmbComPort, cmbCommBaudrate, cmbUpBaudrate, cmbParity, cmbDataBits, cmbStopBits, cmbFlowCtl;
  Button cmdSet, cmdCancel;
  int left = 0, top = 0;  // position on the screen
  bool open = false;      // false once a procedure has closed the dialog

  // The port the dialog was opened for, and its state then (given back by Cancel).
  SerialPort* portObject = nullptr;
  std::int16_t savedPort = 0;
  std::string savedSettings;
  std::int16_t savedHandshaking = 0;
};

extern FrmPortConf frmPortConf;

// Opens the dialog for the given port (modeless).
void subSetPort(SerialPort& port);
void frmPortConf_Load();
void frmPortConf_cmdSet_Click();
void frmPortConf_cmdCancel_Click();
// The close box: closes without Set and without restore. Every way out of the dialog ends in
// platform().closePortConfDialog(), which must tolerate being called while the window closes.
void frmPortConf_QueryUnload();

}  // namespace vq
