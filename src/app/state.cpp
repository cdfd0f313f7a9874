#include "app/state.h"

#include "config/comm_settings.h"
#include "flash/boot_state.h"
#include "image/firmware_file.h"
#include "image/write_blocks.h"
#include "link/link_state.h"
#include "link/param_store.h"

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

void resetAllState() {
  resetAppState();
  resetCommSettings();
  resetFirmwareFileState();
  resetWriteBlockState();
  resetLinkState();
  resetParamStore();
  resetBootState();
}

}  // namespace vq
