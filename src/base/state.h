// Process-wide state of the update wizard. The state the parts share has its own header here
// in base/ (comm_settings.h, firmware_file.h, image_state.h, link_state.h, param_store.h,
// boot_state.h, the progress box's kept lines in progress.h, and the form models in forms.h);
// resetBaseState() brings all of it to its start-up values. The link engine and the boot
// exchange keep their own state (link/link_engine_state.h, flash/boot_exchange_state.h);
// resetAllState() (app/reset_all_state.h) resets base's and theirs.
#pragma once
#include <cstdint>

namespace vq {

// gStep of the steps whose timer and serial events belong to a protocol, and of the last step.
constexpr std::uint8_t kStepReadParameters = 1;    // step 2
constexpr std::uint8_t kStepFirmwareUpdate = 4;    // step 5
constexpr std::uint8_t kStepUpdateParameters = 6;  // step 7
constexpr std::uint8_t kStepEnd = 7;               // step 8: Next quits

extern std::int16_t gLangId;     // 1041 = Japanese texts, anything else English
extern std::uint8_t gStep;       // wizard step on screen, 0 = step 1 ... 7 = step 8; routes events
extern std::uint8_t gErrCode;    // error code of the running step, 0 = none
extern std::uint8_t gFwOldMain;  // step 3's copy of the instrument's version bytes
extern std::uint8_t gFwOldRev;
extern bool gForceUpdate;        // the forced-update dialog accepted a model and serial number

void resetAppState();
// Start-up values of all of base's state and of the three form models; resetAllState() calls it.
void resetBaseState();

}  // namespace vq
