// PLACEHOLDER until the wizard lands.
#include "app/sequencer.h"
namespace vq {
void subSetButtons(ButtonMoment) {}
void subStepScreen(int) {}
void subSequencer() {}
}  // namespace vq
