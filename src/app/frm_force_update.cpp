// PLACEHOLDER until the forced-update dialog lands.
#include "app/frm_force_update.h"
namespace vq {
FrmForceUpdate frmForceUpdate;
void frmForceUpdate_Load() {}
void frmForceUpdate_cmdSet_Click() { frmForceUpdate.open = false; }
void frmForceUpdate_cmdCancel_Click() { frmForceUpdate.open = false; }
void frmForceUpdate_QueryUnload() { frmForceUpdate.open = false; }
}  // namespace vq
