// The firmware image: the update file's body cut into the 512 write blocks of 256 bytes, and
// the kept part of the progress log the flash stages append to.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace vq {

constexpr int kBlockCount = 512;
constexpr int kBlockSize = 256;
constexpr int kHeaderSize = 48;
constexpr int kImageSize = kBlockCount * kBlockSize;  // 131,072 bytes of flash

using Block = std::array<std::uint8_t, kBlockSize>;
extern std::array<Block, kBlockCount> gImage;
// The kept part of txtProcess: the lines a new progress line goes below.
extern std::string gProgressLog;

void resetWriteBlockState();

}  // namespace vq
