#include "flash/boot_frames.h"

#include <stdexcept>

#include "base/comm_settings.h"

namespace vq {

namespace {

// The controller's clock setting, the same for every controller this tool updates.
const Bytes kClockSetting = {0x04, 0x09, 0x01, 0x04};
// Programming and verifying cover the whole image: addresses 0x000000 to 0x01FFFF.
const Bytes kImageAddressRange = {0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF};
const Bytes kSecurityCommandData = {0x00, 0x00};
// The fixed security setting sent in the short data frame.
constexpr std::uint8_t kSecuritySetting[2] = {0xF7, 0x00};
constexpr std::size_t kDataSumEnd = 257;  // LEN byte and 256 data bytes

std::uint8_t twosComplementOfSum(const Bytes& frame, std::size_t first, std::size_t last) {
  if (last >= frame.size()) throw std::out_of_range("boot frame shorter than its LEN");
  unsigned sum = 0;
  for (std::size_t i = first; i <= last; ++i) sum += frame[i];
  return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

}  // namespace

const char* writingRateText(int index) {
  return index >= 0 && index < kUpdateBaudCount ? kUpdateBaudRates[index] : "";
}

std::uint8_t fncBootCmdSum(const Bytes& frame) {
  if (frame.size() < 2) throw std::out_of_range("boot frame without LEN");
  return twosComplementOfSum(frame, 1, std::size_t(frame[1]) + 1);
}

std::uint8_t fncBootDataSum(const Bytes& frame) { return twosComplementOfSum(frame, 1, kDataSumEnd); }

std::uint8_t fncBootCheckReply(const Bytes& reply) {
  const std::uint8_t sum = fncBootCmdSum(reply);  // throws when LEN is out of reach
  if (sum != reply.at(std::size_t(reply[1]) + 2)) return kResultBadChecksum;
  const std::uint8_t st1 = reply.at(2);
  if (st1 != kBootACK) return st1;
  if (reply.size() == kBlockStatusLen && reply.at(3) != kBootACK) return kResultOnlySt2Failed;
  return kResultOk;
}

Bytes buildBootCommand(std::uint8_t com, const Bytes& data) {
  Bytes f;
  f.reserve(data.size() + 5);
  f.push_back(kBootSOH);
  f.push_back(static_cast<std::uint8_t>(data.size() + 1));
  f.push_back(com);
  f.insert(f.end(), data.begin(), data.end());
  f.push_back(0);  // room for SUM, so the checksum reads only the frame's own bytes
  f.back() = fncBootCmdSum(f);
  f.push_back(kBootETX);
  return f;
}

Bytes buildResetFrame() { return buildBootCommand(kComReset); }
Bytes buildChipEraseFrame() { return buildBootCommand(kComChipErase); }
Bytes buildClockFrame() { return buildBootCommand(kComClock, kClockSetting); }
Bytes buildBaudRateFrame(std::uint8_t updateBaud) {
  return buildBootCommand(kComBaudRate, {static_cast<std::uint8_t>(updateBaud + kBaudCodeOffset)});
}
Bytes buildProgramCommand() { return buildBootCommand(kComProgram, kImageAddressRange); }
Bytes buildVerifyCommand() { return buildBootCommand(kComVerify, kImageAddressRange); }
Bytes buildSecurityCommand() { return buildBootCommand(kComSecurity, kSecurityCommandData); }

Bytes buildSecurityDataFrame() {
  Bytes f = {kBootSTX, 2, kSecuritySetting[0], kSecuritySetting[1], 0};
  f.back() = fncBootCmdSum(f);
  f.push_back(kBootETX);
  return f;
}

Bytes buildBlockFrame(const Block& block, bool last) {
  Bytes f;
  f.reserve(kBlockFrameLen);
  f.push_back(kBootSTX);
  f.push_back(0x00);  // LEN 0 stands for 256
  f.insert(f.end(), block.begin(), block.end());
  f.push_back(0);
  f.back() = fncBootDataSum(f);
  f.push_back(last ? kBootETX : kBootETB);
  return f;
}

}  // namespace vq
