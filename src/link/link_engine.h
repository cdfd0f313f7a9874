// The instrument link engine: one batch of requests, paced by tmrComm, replies by mscComm events.
#pragma once
#include <cstdint>

#include "base/wizard_codes.h"
#include "platform/platform.h"

namespace vq {

constexpr int kLinkTickMs = 10;        // tmrComm interval of a batch: one request per tick
constexpr int kLinkRetryLimit = 10;    // repeats; the 11th silent tick fails the batch (12)
constexpr int kCtsPollLimit = 10;      // the 11th poll without clear-to-send fails the send (13)
constexpr std::uint8_t kRxLengthUnknown = 255;
// Initialising the parameters may take the instrument long, so its reply is not repeated; it
// is still not awaited for ever (a silent instrument would hang the step).
constexpr int kInitReplyLimitMs = 60000;
// A busy reply starts the repeats of its request again, but an instrument that stays busy for
// about as long as the 124 bound (one busy reply a tick) is given up like a silent one (12).
constexpr int kBusyReplyLimit = kInitReplyLimitMs / kLinkTickMs;


// Runs the first `count` requests of gReqQueue as one batch and waits for its end, the window
// kept alive meanwhile; the progress value follows the requests. A failure leaves gErrCode set
// (a port that failed under the batch as 11, 15 or 99).
void subRunBatch(std::int32_t count);
// The first half of subRunBatch: the batch started, its first request sent; whoever called it
// runs the events until gLinkBusy drops.
void subStartBatch(std::int32_t count);

void subFirstSend();
void subCommSend();                  // every tmrComm tick in steps 2 and 7
void subCommReceive(CommEvent ev);   // every mscComm event in steps 2 and 7

// How a batch ends.
enum class BatchEnd {
  Completed,   // the last request has its accepted reply
  Stopped,     // given up (retries, clear-to-send, the 124 bound): port buffers discarded
  PortFailed,  // the port failed under the batch: as Stopped, but never throws
};
// The one end of a batch: buffers and queue cleared, the timer off, "Ready", the engine idle,
// the cursor back, and the port closed unless the instrument reports PC mode.
void subEndBatch(BatchEnd how);
void subCommStop();  // subEndBatch(BatchEnd::Stopped)

// The step code of a serial-port failure in steps 2 and 7.
std::uint8_t fncLinkCodeOfPortError(int number);

void subClearQueue();    // sync, command and checksum of every queued request to 0
void subClearRxFrame();  // sync, command, status and checksum of gRxFrame to 0

// The engine's own state (link/link_engine_state.h, kept inside link/) to its start-up
// values; resetAllState() (app/reset_all_state.h) calls it.
void resetLinkEngineState();

}  // namespace vq
