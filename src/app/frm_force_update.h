// The forced-update dialog frmForceUpdate as a form model, and its procedures.
#pragma once
#include "app/controls.h"

namespace vq {

struct FrmForceUpdate : FormBase {
  Label lblModelTitle;
  TextBox txtModelInfo;
  ComboBox cboModel;
  Label lblSerialTitle;
  TextBox txtSerialInfo;
  TextBox txtSerial;
  Button cmdSet;
  Button cmdCancel;
  bool open = false;  // false once a procedure has closed the dialog
};

extern FrmForceUpdate frmForceUpdate;

void frmForceUpdate_Load();
void frmForceUpdate_cmdSet_Click();
void frmForceUpdate_cmdCancel_Click();
// The close box: acts like Cancel.
void frmForceUpdate_QueryUnload();

}  // namespace vq
