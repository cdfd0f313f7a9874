#include "base/forms.h"

namespace vq {

FrmMain frmMain;
FrmPortConf frmPortConf;
FrmForceUpdate frmForceUpdate;

void resetForms() {
  frmMain = FrmMain{};
  frmPortConf = FrmPortConf{};
  frmForceUpdate = FrmForceUpdate{};
}

bool fncStepRunning() { return frmMain.stepRunning; }

}  // namespace vq
