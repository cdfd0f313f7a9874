// The firmware image: the update file's body cut into the 512 write blocks of 256 bytes.
#pragma once
#include <array>
#include <cstdint>

namespace vq {

constexpr int kBlockCount = 512;
constexpr int kBlockSize = 256;
constexpr int kHeaderSize = 48;
constexpr int kImageSize = kBlockCount * kBlockSize;  // 131,072 bytes of flash

using Block = std::array<std::uint8_t, kBlockSize>;
extern std::array<Block, kBlockCount> gImage;

void resetWriteBlockState();

}  // namespace vq
