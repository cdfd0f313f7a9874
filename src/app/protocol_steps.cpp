#include "app/protocol_steps.h"

#include "app/sequencer.h"
#include "app/step_texts.h"
#include "app/update_journal_steps.h"
#include "base/forms.h"
#include "base/state.h"
#include "base/texts.h"
#include "flash/update_step.h"
#include "link/param_steps.h"

namespace vq {

void subStep2ReadParameters() {
  subRunLinkStep([] {
    subOpenLinkPort();
    subStepScreen(2);
    subSetButtons(ButtonMoment::Step2Start);
    subReadParameterBatch();
    if (gErrCode != 0) return;
    frmMain.txtInfo.text = pick(stepText(InfoText::T2b));
    subSetButtons(ButtonMoment::Step2Success);
  });
}

void subStep5FirmwareUpdate() {
  subStepScreen(5);
  subSetButtons(ButtonMoment::Step5Start);
  // On disk before the first byte that may erase the firmware holding the identity.
  subSaveJournal();
  subRunFlashStages();
  subShowJournalProblem();
  if (gErrCode != 0) return;
  frmMain.txtInfo.text = pick(stepText(InfoText::T5b));
  subSetButtons(ButtonMoment::Step5Success);
}

void subStep7UpdateParameters() {
  subRunLinkStep([] {
    subOpenLinkPort();
    subStepScreen(7);
    subSetButtons(ButtonMoment::Step7Start);
    subUpdateParameterBatches();
    if (gErrCode != 0) return;
    subFinishJournal();
    frmMain.txtInfo.text = pick(stepText(InfoText::T7b));
    subSetButtons(ButtonMoment::Step7Success);
  });
}

}  // namespace vq
