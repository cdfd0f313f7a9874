// PLACEHOLDER until step 5 lands.
#include "flash/update_step.h"
namespace vq {
void subStep5FirmwareUpdate() {}
}  // namespace vq
