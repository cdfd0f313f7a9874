// One frame of the instrument's command protocol in memory.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace vq {

struct InstrumentFrame {
  std::array<std::uint8_t, 5> Sync{};
  std::uint8_t Command = 0;
  std::uint8_t Status = 0;
  std::uint8_t Direction = 0;  // 1 write, 0 read
  std::uint8_t Length = 0;
  std::vector<std::uint8_t> Data;
  std::uint8_t Checksum = 0;
};

}  // namespace vq
