// The flash stages of step 5, in the order step 5 runs them. Each returns its result byte
// (0 = success, otherwise a stage result code; step 5 keeps it in gFlashResult) and on failure
// also sets the wizard's gErrCode.
#pragma once
#include <cstdint>

namespace vq {

std::uint8_t subBootConnect();
std::uint8_t subBootSetClock();
std::uint8_t subBootSetBaudRate();
std::uint8_t subBootChipErase();
std::uint8_t subBootWrite();
std::uint8_t subBootSecuritySet();
std::uint8_t subBootVerify();

}  // namespace vq
