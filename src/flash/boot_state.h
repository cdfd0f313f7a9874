// State of the boot-mode flash programmer.
#pragma once
#include <cstdint>

#include "platform/platform.h"

namespace vq {

enum BootState : std::uint8_t {
  bsDone = 0,
  bsSend = 1,
  bsWait = 2,
  bsReceived = 4,
  bsBlocksDone = 5,
  bsFailed = 10,
};

extern Bytes gBootTx;               // frame being sent
extern Bytes gBootRx;               // reply buffer, sized to the expected reply
extern std::uint8_t gBootState;
extern std::int32_t gBootTimeout;   // reply time-out of the current exchange, ms
extern std::uint8_t gBootRetry;     // resends of the reset exchanges
extern std::uint8_t gBootResult;    // result of the running stage, 0 = success
extern std::uint8_t gFlashResult;   // result of the last stage run by step 5

void resetBootState();

}  // namespace vq
