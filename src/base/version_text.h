// The instrument's firmware version as the operator reads it, from its two version bytes.
#pragma once
#include <cstdint>
#include <string>

namespace vq {

// "Ver.1.2.3" from a version byte (major * 10 + minor) and a revision byte.
std::string fncVersionText(std::uint8_t main, std::uint8_t rev);

}  // namespace vq
