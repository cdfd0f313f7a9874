#include "base/boot_state.h"

namespace vq {

Bytes gBootTx;
Bytes gBootRx;
std::uint8_t gBootState = bsDone;
std::int32_t gBootTimeout = 0;
std::uint8_t gBootRetry = 0;
std::uint8_t gBootResult = 0;
std::uint8_t gFlashResult = 0;
Bytes gBootSurplus;

void resetBootState() {
  gBootTx.clear();
  gBootRx.clear();
  gBootState = bsDone;
  gBootTimeout = 0;
  gBootRetry = 0;
  gBootResult = 0;
  gFlashResult = 0;
  gBootSurplus.clear();
}

}  // namespace vq
