#include "base/image_state.h"

namespace vq {

std::array<Block, kBlockCount> gImage{};
std::string gProgressLog;

void resetWriteBlockState() {
  for (auto& b : gImage) b.fill(0xFF);
  gProgressLog.clear();
}

}  // namespace vq
