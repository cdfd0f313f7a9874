// The flash stages of step 5, in the order step 5 runs them. Each hands back its result byte
// (0 = success, otherwise a stage result code) and on failure also sets gErrCode.
#pragma once
#include <cstdint>

namespace vq {

void subBootConnect(std::uint8_t& result);
void subBootSetClock(std::uint8_t& result);
void subBootSetBaudRate(std::uint8_t& result);
void subBootChipErase(std::uint8_t& result);
void subBootWrite(std::uint8_t& result);
void subBootSecuritySet(std::uint8_t& result);
void subBootVerify(std::uint8_t& result);

}  // namespace vq
