#include "base/boot_state.h"

namespace vq {

std::uint8_t gBootState = bsDone;
std::uint8_t gFlashResult = 0;

void resetBootState() {
  gBootState = bsDone;
  gFlashResult = 0;
}

}  // namespace vq
