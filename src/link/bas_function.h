// basFunction: checksum, request encoding, reply decoding and the reply status classes of the
// instrument's command protocol.
#pragma once
#include <cstdint>

#include "base/bytes.h"
#include "base/instrument_frame.h"

namespace vq {

constexpr std::uint8_t kSyncByte = 0xFF;
constexpr std::size_t kSyncLength = 5;
// Byte offsets of a frame on the wire: five sync bytes, then these, then N data bytes and the
// checksum.
constexpr std::size_t kCommandOffset = 5;
constexpr std::size_t kStatusOffset = 6;
constexpr std::size_t kDirectionOffset = 7;
constexpr std::size_t kLengthOffset = 8;   // the length byte N
constexpr std::size_t kDataOffset = 9;     // the checksum follows the N data bytes
constexpr std::size_t kReplyOverhead = 10;   // a reply is N + 10 bytes
constexpr std::size_t kRequestOverhead = 11;  // a request carries one trailing 0x00 more
// The receive length counter is 8 bits, so a reply longer than 255 bytes cannot be assembled.
constexpr std::uint8_t kMaxReplyData = 245;

constexpr std::uint8_t kDirRead = 0;
constexpr std::uint8_t kDirWrite = 1;

enum class ReplyClass { Accepted, Busy, Rejected };
constexpr std::uint8_t kStatusBusy = 51;

// Plain 8-bit XOR of Command, Status, Direction, Length and the first Length data bytes.
std::uint8_t fncCalcSum(const InstrumentFrame& f);
bool fncCheckSum(const InstrumentFrame& f);

// Wire bytes of a queued request: N + 11 bytes, status written as 0, trailing 0x00.
Bytes encodeRequest(const InstrumentFrame& f);
// Decodes the first N + 10 bytes of `bytes` (at least that many) into `f`. With N = 0 the
// frame's Data is left as it was.
void decodeReply(const Bytes& bytes, InstrumentFrame& f);

ReplyClass replyClass(std::uint8_t status);

}  // namespace vq
