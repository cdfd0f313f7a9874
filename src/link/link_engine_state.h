// State only the instrument link engine works with: the queue of the batch, the request in
// flight, the reply being assembled. What the other parts share of the link (gLinkBusy, the
// request counters, the mode-request inputs) is in base/link_state.h.
#pragma once
#include <cstdint>
#include <vector>

#include "base/bytes.h"
#include "base/instrument_frame.h"

namespace vq {

extern std::vector<InstrumentFrame> gReqQueue;  // requests of the current batch
extern bool gReplyOk;             // the request in flight got an accepted reply
extern std::int32_t gRetryCount;  // ticks in a row without an accepted reply
extern std::int32_t gBusyReplies; // busy replies to the request in flight
extern Bytes gTxBuffer;           // wire bytes of the request in flight
extern Bytes gRxBuffer;           // received bytes not yet consumed
extern std::uint8_t gRxExpected;  // total length of the reply being assembled; 255 = unknown
extern InstrumentFrame gRxFrame;  // the last complete reply
// Number of a serial-port failure raised inside a timer or serial event of a batch (the event
// loop cannot carry it to the step); 0 when none. The step turns it into its code.
extern int gLinkPortError;
// The reply to command 124 is awaited with tmrComm re-armed as its time bound.
extern bool gAwaitInitReply;
// Their start-up values: resetLinkEngineState() (link/link_engine.h).

}  // namespace vq
