// PLACEHOLDER until steps 2 and 7 land: each shows its screens, opens and closes the port with
// the link settings (so a missing port fails as the real step will), yields once, and succeeds.
#include "link/param_steps.h"

#include "app/frm_main.h"
#include "app/sequencer.h"
#include "app/state.h"
#include "app/step_texts.h"
#include "config/comm_settings.h"
#include "config/port_scan.h"
#include "platform/platform.h"

namespace vq {
namespace {
bool touchPort() {
  try {
    mscComm().setCommPort(gCommPort);
    mscComm().setSettings(fncLinkSettings());
    mscComm().setPortOpen(true);
    platform().doEvents();
    mscComm().setPortOpen(false);
    return true;
  } catch (const SerialError& e) {
    gErrCode = e.number == kErrNoSuchPort ? 11 : e.number == kErrSettingsRejected ? 15 : 99;
    return false;
  }
}
}  // namespace

void subStep2ReadParameters() {
  subStepScreen(2);
  subSetButtons(ButtonMoment::Step2Start);
  if (!touchPort()) return;
  frmMain.txtInfo.text = pick(stepText(InfoText::T2b));
  subSetButtons(ButtonMoment::Step2Success);
}

void subStep7UpdateParameters() {
  subStepScreen(7);
  subSetButtons(ButtonMoment::Step7Start);
  if (!touchPort()) return;
  frmMain.txtInfo.text = pick(stepText(InfoText::T7b));
  subSetButtons(ButtonMoment::Step7Success);
}
}  // namespace vq
