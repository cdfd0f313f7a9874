// State only the boot-mode exchange works with: the frame out, the reply in, its bound, the
// resends and the running stage's result. What the other parts share of the flash programmer
// (gBootState, gFlashResult) is in base/boot_state.h.
#pragma once
#include <cstdint>

#include "base/bytes.h"

namespace vq {

extern Bytes gBootTx;               // frame being sent
extern Bytes gBootRx;               // reply buffer, sized to the expected reply
extern std::int32_t gBootTimeout;   // reply time-out of the current exchange, ms
extern std::uint8_t gBootRetry;     // resends of the reset exchanges
extern std::uint8_t gBootResult;    // result of the running stage, 0 = success
// Bytes read behind the last reply. A stage that waits for a further status without sending
// takes them as that status's start (a controller may send both statuses back to back and a
// batching adapter deliver them in one read); the next send drops them.
extern Bytes gBootSurplus;
// Their start-up values: resetBootExchangeState() (flash/boot_exchange.h).

}  // namespace vq
