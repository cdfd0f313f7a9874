// State of the boot-mode flash programmer.
#pragma once
#include <cstdint>

#include "base/bytes.h"

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
// Bytes read behind the last reply. A stage that waits for a further status without sending
// takes them as that status's start (a controller may send both statuses back to back and a
// batching adapter deliver them in one read); the next send drops them.
extern Bytes gBootSurplus;

void resetBootState();

}  // namespace vq
