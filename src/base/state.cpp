#include "base/state.h"

#include "base/boot_state.h"
#include "base/comm_settings.h"
#include "base/firmware_file.h"
#include "base/forms.h"
#include "base/image_state.h"
#include "base/link_state.h"
#include "base/param_store.h"
#include "base/progress.h"

namespace vq {

std::int16_t gLangId = 1033;
std::uint8_t gStep = 0;
std::uint8_t gErrCode = 0;
std::uint8_t gFwOldMain = 0;
std::uint8_t gFwOldRev = 0;
bool gForceUpdate = false;

void resetAppState() {
  gLangId = 1033;
  gStep = 0;
  gErrCode = 0;
  gFwOldMain = 0;
  gFwOldRev = 0;
  gForceUpdate = false;
}

void resetBaseState() {
  resetAppState();
  resetCommSettings();
  resetFirmwareFileState();
  resetWriteBlockState();
  resetProgressState();
  resetLinkState();
  resetParamStore();
  resetBootState();
  resetForms();
}

}  // namespace vq
