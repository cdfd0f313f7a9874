// PLACEHOLDER until steps 2 and 7 land.
#include "link/param_steps.h"
namespace vq {
void subStep2ReadParameters() {}
void subStep7UpdateParameters() {}
}  // namespace vq
