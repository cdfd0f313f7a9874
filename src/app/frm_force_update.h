// The procedures of the forced-update dialog frmForceUpdate (its model is in base/forms.h).
#pragma once
#include "base/forms.h"

namespace vq {

void frmForceUpdate_Load();
void frmForceUpdate_cmdSet_Click();
void frmForceUpdate_cmdCancel_Click();
// Discards the saved update the dialog names, once the operator confirms.
void frmForceUpdate_cmdForget_Click();
// The close box: acts like Cancel.
void frmForceUpdate_QueryUnload();

}  // namespace vq
