// State of the instrument link engine and the mode-request inputs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/instrument_frame.h"

namespace vq {

extern std::vector<InstrumentFrame> gReqQueue;  // requests of the current batch
extern std::int32_t gReqLast;     // index of the last request; 0 when idle
extern std::int32_t gReqRemain;   // requests still to be written; -1 when done or stopped
extern bool gLinkBusy;            // a batch is being worked off
extern bool gReplyOk;             // the request in flight got an accepted reply
extern std::int32_t gRetryCount;  // ticks in a row without an accepted reply
extern std::int32_t gBusyReplies; // busy replies to the request in flight
extern Bytes gTxBuffer;           // wire bytes of the request in flight
extern Bytes gRxBuffer;           // received bytes not yet consumed
extern std::uint8_t gRxExpected;  // total length of the reply being assembled; 255 = unknown
extern InstrumentFrame gRxFrame;  // the last complete reply
extern std::uint8_t gModeKind;    // payload kind of the next queued mode request
extern std::string gModeCode;     // access code of a kind-2 mode request
// Number of a serial-port failure raised inside a timer or serial event of a batch (the event
// loop cannot carry it to the step); 0 when none. The step turns it into its code.
extern int gLinkPortError;
// The reply to command 124 is awaited with tmrComm re-armed as its time bound.
extern bool gAwaitInitReply;

void resetLinkState();

}  // namespace vq
