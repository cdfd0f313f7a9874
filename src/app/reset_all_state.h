// The start-up values of all process-wide state: base's and the engines' own. Called by
// start-up (frmMain_Load) and every test fixture.
#pragma once

namespace vq {

// resetBaseState() (base/state.h), then the link engine's and the boot exchange's state.
void resetAllState();

}  // namespace vq
