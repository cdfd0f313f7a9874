// Frames of the controller's boot mode: command frames (SOH), data frames (STX, ETB/ETX) and
// the status frames the controller answers with; their checksums; the stage result codes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/wizard_codes.h"
#include "image/write_blocks.h"
#include "platform/platform.h"

namespace vq {

// Frame bytes.
constexpr std::uint8_t kBootSOH = 0x01;
constexpr std::uint8_t kBootSTX = 0x02;
constexpr std::uint8_t kBootETX = 0x03;  // last frame of a command
constexpr std::uint8_t kBootETB = 0x17;  // further data frames of the same command follow
constexpr std::uint8_t kBootACK = 0x06;  // status byte of success

// Command codes.
constexpr std::uint8_t kComReset = 0x00;
constexpr std::uint8_t kComVerify = 0x13;
constexpr std::uint8_t kComChipErase = 0x20;
constexpr std::uint8_t kComProgram = 0x40;
constexpr std::uint8_t kComClock = 0x90;
constexpr std::uint8_t kComBaudRate = 0x9A;
constexpr std::uint8_t kComSecurity = 0xA0;

// Status frames: LEN 1 (ST1) after commands and the security data, LEN 2 (ST1, ST2) after a
// full data frame.
constexpr std::size_t kStatusLen = 5;
constexpr std::size_t kBlockStatusLen = 6;
// A full data frame on the line: STX, LEN 0x00 (= 256), 256 bytes, SUM, ETB/ETX.
constexpr std::size_t kBlockFrameLen = kBlockSize + 4;

// The baud-rate command carries the writing-rate index (gUpdateBaud) + 3.
constexpr std::uint8_t kBaudCodeOffset = 3;
// The rate text of a writing-rate index, empty outside 0..5 (the port then refuses the settings).
const char* writingRateText(int index);

// Stage result codes: 0 success, a controller's ST1 passed on as it is, or one of these.
constexpr std::uint8_t kResultOk = 0;
constexpr std::uint8_t kResultOnlySt2Failed = 6;   // ST1 was ACK, ST2 was not
constexpr std::uint8_t kResultBadChecksum = 7;
constexpr std::uint8_t kResultTimeout = 31;
constexpr std::uint8_t kResultRetryOver = 32;
constexpr std::uint8_t kResultRunTimeFailure = 37;
constexpr std::uint8_t kResultNoPowerOn = 126;

// Checksum of a command frame, the 2-byte data frame or a status frame: two's complement of
// the bytes at offsets 1 to (byte at offset 1) + 1. Throws std::out_of_range when LEN points
// past the end of the array.
std::uint8_t fncBootCmdSum(const Bytes& frame);
// Checksum of a full data frame: two's complement of the bytes at offsets 1 to 257.
std::uint8_t fncBootDataSum(const Bytes& frame);

// Judges a status frame: 0 when good; kResultBadChecksum when SUM does not match; otherwise
// ST1 (which is kResultOnlySt2Failed when ST1 was ACK and only ST2 of a 6-byte reply failed).
// Throws std::out_of_range when LEN places SUM outside the reply.
std::uint8_t fncBootCheckReply(const Bytes& reply);

// Builders: each frame complete with SUM and end byte.
Bytes buildBootCommand(std::uint8_t com, const Bytes& data = {});
Bytes buildResetFrame();
Bytes buildChipEraseFrame();
Bytes buildClockFrame();
Bytes buildBaudRateFrame(std::uint8_t updateBaud);
Bytes buildProgramCommand();
Bytes buildVerifyCommand();
Bytes buildSecurityCommand();
Bytes buildSecurityDataFrame();
// The data frame of one image block; ETX when last, ETB otherwise.
Bytes buildBlockFrame(const Block& block, bool last);

}  // namespace vq
