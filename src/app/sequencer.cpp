// The eight-step wizard. Next runs one step procedure through subSequencer; a step that fails
// leaves gErrCode set, and cmdNext_Click then re-shows the step before it so that the next
// Next retries the failed one.
#include "app/sequencer.h"

#include <array>

#include "app/protocol_steps.h"
#include "app/step_texts.h"
#include "app/update_attempt.h"
#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/forms.h"
#include "base/param_store.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "base/version_text.h"
#include "platform/app_windows.h"
#include "platform/platform.h"
#include "platform/port_problem.h"

namespace vq {

namespace {

constexpr int kStepCount = 8;

struct StepScreen {
  InfoText text;       // the text shown when the step starts
  const char* panel1;  // status-bar texts: the same in both languages
  const char* panel2;
};

constexpr std::array<StepScreen, kStepCount> kStepScreens{{
    {InfoText::T1, "Update start", ""},
    {InfoText::T2a, "Prameter read", "Ready"},
    {InfoText::T3, "Version check", ""},
    {InfoText::T4, "Firmware update", ""},
    {InfoText::T5a, "Firmware update", "Ready"},
    {InfoText::T6, "Parameter update", ""},
    {InfoText::T7a, "Parameter update", "Ready"},
    {InfoText::T8, "Update end", ""},
}};

// One cell of the button table: switch on, switch off, or leave as it is.
enum class Sw { On, Off, Keep };

struct ButtonRow {
  ButtonMoment moment;
  Sw fileSel, commSetting, forceUpdate, cancel, next;
};

constexpr std::array<ButtonRow, 11> kButtonTable{{
    {ButtonMoment::Step1, Sw::On, Sw::On, Sw::On, Sw::On, Sw::On},
    {ButtonMoment::Step2Start, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::Off},
    {ButtonMoment::Step2Success, Sw::On, Sw::On, Sw::On, Sw::On, Sw::On},
    // Next follows the file's validity; see subStep3VersionCheck.
    {ButtonMoment::Step3, Sw::Keep, Sw::On, Sw::On, Sw::On, Sw::Keep},
    {ButtonMoment::Step4, Sw::Keep, Sw::On, Sw::On, Sw::On, Sw::On},
    {ButtonMoment::Step5Start, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::Off},
    {ButtonMoment::Step5Success, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::On},
    {ButtonMoment::Step6, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::On},
    {ButtonMoment::Step7Start, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::Off},
    {ButtonMoment::Step7Success, Sw::Off, Sw::Off, Sw::Off, Sw::On, Sw::On},
    {ButtonMoment::Step8, Sw::Off, Sw::Off, Sw::Off, Sw::Off, Sw::On},
}};

void apply(Button& b, Sw s) {
  if (s != Sw::Keep) b.enabled = (s == Sw::On);
}

// Steps 2, 5 and 7 hold the serial port while they run; the close box is refused meanwhile
// (closing during step 5 would leave the controller half-written).
class StepRunningGuard {
 public:
  StepRunningGuard() { frmMain.stepRunning = true; }
  ~StepRunningGuard() { frmMain.stepRunning = false; }
  StepRunningGuard(const StepRunningGuard&) = delete;
  StepRunningGuard& operator=(const StepRunningGuard&) = delete;
};

void runStep(int stepNo) {
  switch (stepNo) {
    case 1: subStep1Start(); break;
    case 2: {
      StepRunningGuard running;
      subStep2ReadParameters();
      break;
    }
    case 3: subStep3VersionCheck(); break;
    case 4: subStep4PrepareFirmwareUpdate(); break;
    case 5: {
      StepRunningGuard running;
      subStep5FirmwareUpdate();
      break;
    }
    case 6: subStep6PrepareParameterUpdate(); break;
    case 7: {
      StepRunningGuard running;
      subStep7UpdateParameters();
      break;
    }
    case 8: subStep8End(); break;
    default: break;  // Next on step 8 quits before getting here
  }
}

}  // namespace

void subSetButtons(ButtonMoment m) {
  for (const auto& row : kButtonTable) {
    if (row.moment != m) continue;
    apply(frmMain.cmdFWFileSel, row.fileSel);
    apply(frmMain.cmdCommSetting, row.commSetting);
    apply(frmMain.cmdForceUpdate, row.forceUpdate);
    apply(frmMain.cmdCancel, row.cancel);
    apply(frmMain.cmdNext, row.next);
    // Shown at once: a widget left on for the next mirror could still take a click.
    windows().refresh();
    return;
  }
}

void subStepScreen(int stepNo) {
  if (stepNo < 1 || stepNo > kStepCount) return;
  const int i = stepNo - 1;
  // Only the own step's name is bold. Clearing every other name, not just the neighbours,
  // keeps the forced-update jump from step 1 to step 3 from leaving two names bold.
  for (int k = 0; k < kStepCount; ++k) frmMain.lblProcess[k].bold = (k == i);
  const StepScreen& s = kStepScreens[i];
  frmMain.txtInfo.text = pick(stepText(s.text));
  frmMain.txtProcess.text.clear();
  frmMain.stsAppStatus.panel1 = s.panel1;
  frmMain.stsAppStatus.panel2 = s.panel2;
}

void subSequencer() {
  progress().busy(true);
  gErrCode = 0;
  mscComm().problem = {};
  const int stepNo = gStep + 1;
  noteStepStarting(stepNo);
  runStep(stepNo);
  if (gErrCode != 0) subShowPortProblem(mscComm().problem);
  // Recorded before the message box: the record stands even if nobody closes the box.
  noteStepEnded(stepNo);
  subShowError();
  progress().busy(false);
}

void subShowPortProblem(const PortProblem& p) {
  const std::string line = fncPortProblemText(p);
  if (line.empty()) return;
  // Below everything the box shows, the line the step stopped at included.
  subShowBelowProgress(line);
}

void subStep1Start() {
  subStepScreen(1);
  subSetButtons(ButtonMoment::Step1);
}

void subStep3VersionCheck() {
  gFwOldMain = gFwVerMain;
  gFwOldRev = gFwVerRev;
  frmMain.lblFWOld.caption = fncVersionText(gFwOldMain, gFwOldRev);
  subStepScreen(3);
  frmMain.prgProcess.value = 0;
  subSetButtons(ButtonMoment::Step3);
  frmMain.cmdNext.enabled = gFileValid;
}

void subStep4PrepareFirmwareUpdate() {
  subStepScreen(4);
  subSetButtons(ButtonMoment::Step4);
}

void subStep6PrepareParameterUpdate() {
  subStepScreen(6);
  frmMain.prgProcess.value = 0;
  subSetButtons(ButtonMoment::Step6);
}

void subStep8End() {
  subStepScreen(8);
  frmMain.prgProcess.value = 0;
  subSetButtons(ButtonMoment::Step8);
  frmMain.cmdNext.caption = pick({"終了", "End"});
}

}  // namespace vq
