// SHA-256 of a byte string, so the report can say which image the flash holds without a library.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "base/bytes.h"

namespace vq::sim {

std::array<std::uint8_t, 32> sha256(const Bytes& data);
std::string sha256Hex(const Bytes& data);

}  // namespace vq::sim
