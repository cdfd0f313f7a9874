// Process-wide state of the update wizard. Every subsystem keeps its own state beside its code
// (config/comm_settings.h, image/firmware_file.h, image/write_blocks.h, link/link_state.h,
// link/param_store.h, flash/boot_state.h); resetAllState() brings all of it to its start-up values.
#pragma once
#include <cstdint>

namespace vq {

extern std::int16_t gLangId;     // 1041 = Japanese texts, anything else English
extern std::uint8_t gStep;       // wizard step on screen, 0 = step 1 ... 7 = step 8; routes events
extern std::uint8_t gErrCode;    // error code of the running step, 0 = none
extern std::uint8_t gFwOldMain;  // step 3's copy of the instrument's version bytes
extern std::uint8_t gFwOldRev;
extern bool gForceUpdate;        // the forced-update dialog accepted a model and serial number

void resetAppState();
// Start-up values of every subsystem's state; called by start-up and every test fixture.
void resetAllState();

}  // namespace vq
