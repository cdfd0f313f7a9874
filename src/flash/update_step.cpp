// PLACEHOLDER until step 5 lands: shows its screens, opens and closes the port in boot-mode
// settings (so a missing port fails as the real step will), yields once, and succeeds.
#include "flash/update_step.h"

#include "app/frm_main.h"
#include "app/sequencer.h"
#include "app/state.h"
#include "app/step_texts.h"
#include "config/comm_settings.h"
#include "flash/boot_state.h"
#include "platform/platform.h"

namespace vq {
void subStep5FirmwareUpdate() {
  subStepScreen(5);
  subSetButtons(ButtonMoment::Step5Start);
  gFlashResult = 0;
  try {
    mscComm().setCommPort(gCommPort);
    mscComm().setSettings("9600,N,8,1");
    mscComm().setPortOpen(true);
    platform().doEvents();
  } catch (const SerialError&) {
    gFlashResult = 37;
    gErrCode = 30;
  }
  if (mscComm().portOpen()) mscComm().setPortOpen(false);
  if (gErrCode != 0) return;
  frmMain.txtInfo.text = pick(stepText(InfoText::T5b));
  subSetButtons(ButtonMoment::Step5Success);
}
}  // namespace vq
