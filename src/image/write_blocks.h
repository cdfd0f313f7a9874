// The firmware image: the update file's body cut into the 512 write blocks of 256 bytes.
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
// The kept part of txtProcess, to which the flash stages append their lines.
extern std::string gProgressLog;

void resetWriteBlockState();

// Builds gImage from gFileData; result 0, or 36 (with gErrCode 22) when the body is too long.
void subReadBinFile(std::uint8_t& result);

}  // namespace vq
