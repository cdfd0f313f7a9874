#include <gtest/gtest.h>

#include "link/bas_function.h"

namespace vq {
namespace {

InstrumentFrame request(std::uint8_t cmd, std::uint8_t dir, Bytes data) {
  InstrumentFrame f;
  f.Sync.fill(0xFF);
  f.Command = cmd;
  f.Direction = dir;
  f.Length = std::uint8_t(data.size());
  f.Data = std::move(data);
  f.Checksum = fncCalcSum(f);
  return f;
}

struct WorkedRequest {
  const char* name;
  InstrumentFrame frame;
  Bytes wire;
};

TEST(InstrumentFrame, WorkedRequestsEncodeByteForByte) {
  const WorkedRequest cases[] = {
      {"read 1", request(1, 0, {}), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00}},
      {"read 5", request(5, 0, {}), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x00, 0x00, 0x05, 0x00}},
      {"write 4", request(4, 1, {0x05, 0x00}),
       {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x04, 0x00, 0x01, 0x02, 0x05, 0x00, 0x02, 0x00}},
      {"write 124", request(124, 1, {}), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7C, 0x00, 0x01, 0x00, 0x7D, 0x00}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(encodeRequest(c.frame), c.wire) << c.name;
    EXPECT_EQ(c.wire.size(), c.frame.Length + 11u) << c.name;
  }
}

TEST(InstrumentFrame, RequestStatusGoesOutAsZeroAndStaleDataIsNotSent) {
  InstrumentFrame f = request(1, 0, {});
  f.Status = 0x33;
  f.Data = {9, 9, 9};  // left over from an earlier batch behind Length 0
  f.Checksum = fncCalcSum(f);
  const Bytes wire = encodeRequest(f);
  ASSERT_EQ(wire.size(), 11u);
  EXPECT_EQ(wire[6], 0x00);
  EXPECT_EQ(wire[9], 0x01 ^ 0x33);  // the stored checksum, whatever it covers
}

TEST(InstrumentFrame, WorkedReplyDecodesAndChecks) {
  const Bytes wire{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x00, 0x02, 0x0B, 0x03, 0x0F, 0xAA};
  InstrumentFrame f;
  decodeReply(wire, f);
  EXPECT_EQ(f.Command, 5);
  EXPECT_EQ(f.Length, 2);
  EXPECT_EQ(f.Data, (Bytes{0x0B, 0x03}));
  EXPECT_EQ(f.Checksum, 0x0F);  // the byte after the frame is not part of it
  EXPECT_TRUE(fncCheckSum(f));
}

TEST(InstrumentFrame, EmptyReplyKeepsTheOldDataAndIsCheckedWithoutIt) {
  InstrumentFrame f;
  f.Data = {1, 2, 3};
  decodeReply({0x12, 0x34, 0, 0, 0, 0x7F, 0x1F, 0x01, 0x00, 0x7F ^ 0x1F ^ 0x01}, f);
  EXPECT_EQ(f.Data, (Bytes{1, 2, 3}));
  EXPECT_EQ(f.Sync[0], 0x12);  // sync bytes are stored, not compared
  EXPECT_TRUE(fncCheckSum(f));
  f.Checksum ^= 0x80;
  EXPECT_FALSE(fncCheckSum(f));
}

TEST(InstrumentFrame, StatusClasses) {
  const std::uint8_t accepted[] = {0, 31, 32, 33, 34, 37, 38, 39, 42, 54};
  int acceptedSeen = 0;
  for (int s = 0; s < 256; ++s) {
    const bool inList = std::find(std::begin(accepted), std::end(accepted), s) != std::end(accepted);
    const ReplyClass want = inList ? ReplyClass::Accepted : s == 51 ? ReplyClass::Busy : ReplyClass::Rejected;
    EXPECT_EQ(replyClass(std::uint8_t(s)), want) << s;
    acceptedSeen += inList;
  }
  EXPECT_EQ(acceptedSeen, 10);
  EXPECT_EQ(replyClass(0x0A), ReplyClass::Rejected);
}

}  // namespace
}  // namespace vq
