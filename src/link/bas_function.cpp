#include "link/bas_function.h"

#include <algorithm>

namespace vq {

std::uint8_t fncCalcSum(const InstrumentFrame& f) {
  std::uint8_t sum = f.Command ^ f.Status ^ f.Direction ^ f.Length;
  // A queued entry may keep an old Data array behind a Length of 0: only Length bytes count.
  const std::size_t n = std::min<std::size_t>(f.Length, f.Data.size());
  for (std::size_t i = 0; i < n; ++i) sum ^= f.Data[i];
  return sum;
}

bool fncCheckSum(const InstrumentFrame& f) { return fncCalcSum(f) == f.Checksum; }

Bytes encodeRequest(const InstrumentFrame& f) {
  const std::size_t n = f.Length;
  Bytes out(n + kRequestOverhead, 0x00);
  std::fill_n(out.begin(), kSyncLength, kSyncByte);
  out[kCommandOffset] = f.Command;
  out[kStatusOffset] = 0x00;  // the status of a request is always 0 on the wire
  out[kDirectionOffset] = f.Direction;
  out[kLengthOffset] = f.Length;
  for (std::size_t i = 0; i < n && i < f.Data.size(); ++i) out[kDataOffset + i] = f.Data[i];
  out[kDataOffset + n] = f.Checksum;
  // the byte after the checksum stays 0x00: the trailing byte
  return out;
}

void decodeReply(const Bytes& bytes, InstrumentFrame& f) {
  std::copy_n(bytes.begin(), kSyncLength, f.Sync.begin());
  f.Command = bytes[kCommandOffset];
  f.Status = bytes[kStatusOffset];
  f.Direction = bytes[kDirectionOffset];
  f.Length = bytes[kLengthOffset];
  const std::size_t n = f.Length;
  const auto data = bytes.begin() + std::ptrdiff_t(kDataOffset);
  if (n != 0) f.Data.assign(data, data + std::ptrdiff_t(n));
  f.Checksum = bytes[kDataOffset + n];
}

ReplyClass replyClass(std::uint8_t status) {
  switch (status) {
    case 0: case 31: case 32: case 33: case 34: case 37: case 38: case 39: case 42: case 54:
      return ReplyClass::Accepted;
    case kStatusBusy:
      return ReplyClass::Busy;
    default:
      return ReplyClass::Rejected;
  }
}

}  // namespace vq
