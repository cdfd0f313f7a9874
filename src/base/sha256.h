// SHA-256 of a byte string, for the reports and the update record, without a library.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "base/bytes.h"

namespace vq {

std::array<std::uint8_t, 32> sha256(const Bytes& data);
std::string sha256Hex(const Bytes& data);

}  // namespace vq
