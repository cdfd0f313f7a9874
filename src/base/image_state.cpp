#include "base/image_state.h"

namespace vq {

std::array<Block, kBlockCount> gImage{};

void resetWriteBlockState() {
  for (auto& b : gImage) b.fill(0xFF);
}

}  // namespace vq
