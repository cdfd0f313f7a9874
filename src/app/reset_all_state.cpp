#include "app/reset_all_state.h"

#include "base/state.h"
#include "flash/boot_exchange.h"
#include "link/link_engine.h"

namespace vq {

void resetAllState() {
  resetBaseState();
  resetLinkEngineState();
  resetBootExchangeState();
}

}  // namespace vq
