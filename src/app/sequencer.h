// The eight-step wizard: Next, the common screen set-up and the button table.
#pragma once

namespace vq {

// Moments of the button table.
enum class ButtonMoment {
  Step1, Step2Start, Step2Success, Step3, Step4, Step5Start, Step5Success, Step6,
  Step7Start, Step7Success, Step8,
};
void subSetButtons(ButtonMoment m);

// Common screen set-up of step stepNo (1..8): its name bold, its neighbours normal, the
// step's (first) instruction text, txtProcess emptied, the two status panels.
void subStepScreen(int stepNo);

// Runs the procedure of step gStep + 1 with gErrCode cleared, then shows any error.
void subSequencer();

}  // namespace vq
