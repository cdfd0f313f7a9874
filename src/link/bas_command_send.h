// basCommandSend: the commands the tool issues and the requests it queues for the link engine.
#pragma once
#include <cstdint>

#include "base/instrument_frame.h"

namespace vq {

// Command numbers.
constexpr std::uint8_t kCmdModelName = 1;
constexpr std::uint8_t kCmdSerialNo = 2;
constexpr std::uint8_t kCmd04 = 4;
constexpr std::uint8_t kCmdFwVersion = 5;
constexpr std::uint8_t kCmd06 = 6;
constexpr std::uint8_t kCmdInitParams = 124;
constexpr std::uint8_t kCmdMode = 127;

constexpr std::size_t kModelNameLength = 8;
constexpr std::size_t kSerialNoLength = 6;

// Mode kinds of the mode request (gModeKind).
constexpr std::uint8_t kModeLeave = 0;
constexpr std::uint8_t kModeEnter = 1;
constexpr std::uint8_t kModeEnterWithCode = 2;
// The code that kinds 0 and 1 always carry, and the two access codes of step 7.
constexpr const char* kModeDefaultCode = "318642";
constexpr const char* kAccessCodeInit = "47205813";
constexpr const char* kAccessCodeWrite = "318642";

// Queues request `index` (command, direction), built from the store and the mode globals as
// they are now; resizes the queue to index + 1 entries and advances index.
void subAddCommand(std::int32_t& index, std::uint8_t command, std::uint8_t direction);
// Sync bytes, Length and Data of an entry by its Command and Direction.
void subBuildCommand(InstrumentFrame& entry);

// The three batches; each leaves `index` at the number of queued requests.
void queueReadBatch(std::int32_t& index);       // step 2: mode 1, reads 1 2 4 5 6, mode 0
void queueInitBatch(std::int32_t& index);       // step 7: mode 2 + 8-digit code, 124
void queueWriteBackBatch(std::int32_t& index);  // step 7: mode 2 + 6-digit code, writes 1 2 4, mode 0

}  // namespace vq
