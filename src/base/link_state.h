// The instrument link's state the other parts share: whether a batch is being worked off, its
// request counters, and the mode-request inputs. The engine's own state (the queue, the
// buffers, the request in flight) is in link/link_engine_state.h.
#pragma once
#include <cstdint>
#include <string>

namespace vq {

extern std::int32_t gReqLast;     // index of the last request; 0 when idle
extern std::int32_t gReqRemain;   // requests still to be written; -1 when done or stopped
extern bool gLinkBusy;            // a batch is being worked off
extern std::uint8_t gModeKind;    // payload kind of the next queued mode request
extern std::string gModeCode;     // access code of a kind-2 mode request

void resetLinkState();

}  // namespace vq
