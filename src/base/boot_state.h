// The boot-mode flash programmer's state the other parts share: the exchange's state and the
// result step 5 keeps. The exchange's own state (frames, bound, resends) is in
// flash/boot_exchange_state.h.
#pragma once
#include <cstdint>

namespace vq {

enum BootState : std::uint8_t {
  bsDone = 0,
  bsSend = 1,
  bsWait = 2,
  bsReceived = 4,
  bsBlocksDone = 5,
  bsFailed = 10,
};

extern std::uint8_t gBootState;
extern std::uint8_t gFlashResult;   // result of the last stage run by step 5

void resetBootState();

}  // namespace vq
