// The three windows as form models: plain data the procedures change and the front end
// shows. Controls are named as the system names them.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "base/controls.h"

namespace vq {

class SerialPort;

// Inner size of the port dialog in pixels; subSetPort centres it with these and the Qt dialog
// uses them.
constexpr int kPortConfInnerWidth = 420;
constexpr int kPortConfInnerHeight = 360;

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

struct FrmForceUpdate : FormBase {
  Label lblModelTitle;
  TextBox txtModelInfo;
  ComboBox cboModel;
  Label lblSerialTitle;
  TextBox txtSerialInfo;
  TextBox txtSerial;
  // Shown only when a saved update waits for this port: which one, and how to discard it.
  Label lblSaved;
  Button cmdForget;
  Button cmdSet;
  Button cmdCancel;
  bool open = false;  // false once a procedure has closed the dialog
};

extern FrmMain frmMain;
extern FrmPortConf frmPortConf;
extern FrmForceUpdate frmForceUpdate;

// All three models as they are before start-up has filled them in.
void resetForms();
// A step that holds the serial port is running (frmMain.stepRunning).
bool fncStepRunning();

}  // namespace vq
