// The eight-step wizard: Next, the common screen set-up and the button table.
#pragma once
#include <cstdint>
#include <string>

#include "platform/port_problem.h"

namespace vq {

// Moments of the button table.
enum class ButtonMoment {
  Step1, Step2Start, Step2Success, Step3, Step4, Step5Start, Step5Success, Step6,
  Step7Start, Step7Success, Step8,
};
void subSetButtons(ButtonMoment m);

// Common screen set-up of step stepNo (1..8): its name bold, the others normal, the
// step's (first) instruction text, txtProcess emptied, the two status panels.
void subStepScreen(int stepNo);

// Runs the procedure of step gStep + 1 with gErrCode cleared, then shows any error: the
// message box, and below the progress lines what the port's problem was, if it had one.
void subSequencer();
// The port's problem (the cause and the remedy) as a line of the progress box.
void subShowPortProblem(const PortProblem& p);

// The procedures of the screen-only steps and of the version check (steps 2, 5 and 7 are in
// app/protocol_steps.h).
void subStep1Start();
void subStep3VersionCheck();
void subStep4PrepareFirmwareUpdate();
void subStep6PrepareParameterUpdate();
void subStep8End();

}  // namespace vq
