// Raw bytes as they go over the serial line or sit in a file.
#pragma once
#include <cstdint>
#include <vector>

namespace vq {

using Bytes = std::vector<std::uint8_t>;

}  // namespace vq
