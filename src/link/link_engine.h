// The instrument link engine: one batch of requests, paced by tmrComm, replies by mscComm events.
#pragma once
#include <cstdint>

#include "platform/platform.h"

namespace vq {

constexpr int kLinkTickMs = 10;        // tmrComm interval of a batch: one request per tick
constexpr int kLinkRetryLimit = 10;    // repeats; the 11th silent tick fails the batch (12)
constexpr int kCtsPollLimit = 10;      // the 11th poll without clear-to-send fails the send (13)
constexpr std::uint8_t kRxLengthUnknown = 255;
// Initialising the parameters may take the instrument long, so its reply is not repeated; it
// is still not awaited for ever (a silent instrument would hang the step).
constexpr int kInitReplyLimitMs = 60000;

constexpr std::uint8_t kErrLinkRetries = 12;
constexpr std::uint8_t kErrLinkTimeout = 13;

void subFirstSend();
void subCommSend();                  // every tmrComm tick in steps 2 and 7
void subCommReceive(CommEvent ev);   // every mscComm event in steps 2 and 7
void subCommStop();
// subCommStop for a port that has just failed: never throws, the engine ends idle.
void subCommAbandon();

void subClearQueue();    // sync, command and checksum of every queued request to 0
void subClearRxFrame();  // sync, command, status and checksum of gRxFrame to 0

}  // namespace vq
