#include "flash/boot_frames.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>

namespace vq {
namespace {

struct FrameCase {
  const char* name;
  Bytes built;
  Bytes expected;
};

TEST(BootFrames, CommandAndShortDataFramesAreByteExact) {
  const FrameCase cases[] = {
      {"reset", buildResetFrame(), {0x01, 0x01, 0x00, 0xFF, 0x03}},
      {"chip erase", buildChipEraseFrame(), {0x01, 0x01, 0x20, 0xDF, 0x03}},
      {"clock", buildClockFrame(), {0x01, 0x05, 0x90, 0x04, 0x09, 0x01, 0x04, 0x59, 0x03}},
      {"baud 38400", buildBaudRateFrame(3), {0x01, 0x02, 0x9A, 0x06, 0x5E, 0x03}},
      {"baud 153600", buildBaudRateFrame(5), {0x01, 0x02, 0x9A, 0x08, 0x5C, 0x03}},
      {"baud 9600", buildBaudRateFrame(0), {0x01, 0x02, 0x9A, 0x03, 0x61, 0x03}},
      {"programming", buildProgramCommand(), {0x01, 0x07, 0x40, 0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0xBA, 0x03}},
      {"verify", buildVerifyCommand(), {0x01, 0x07, 0x13, 0x00, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0xE7, 0x03}},
      {"security command", buildSecurityCommand(), {0x01, 0x03, 0xA0, 0x00, 0x00, 0x5D, 0x03}},
      {"security data", buildSecurityDataFrame(), {0x02, 0x02, 0xF7, 0x00, 0x07, 0x03}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.built, c.expected) << c.name;
}

TEST(BootFrames, BlockOfErasedBytesHasSumZeroAndEndsWithEtbUnlessLast) {
  Block ff;
  ff.fill(0xFF);
  const Bytes f = buildBlockFrame(ff, false);
  ASSERT_EQ(f.size(), 260u);
  EXPECT_EQ(f[0], 0x02);
  EXPECT_EQ(f[1], 0x00);
  EXPECT_EQ(f[258], 0x00);
  EXPECT_EQ(f[259], 0x17);
  EXPECT_EQ(buildBlockFrame(ff, true)[259], 0x03);
}

TEST(BootFrames, BlockSumMakesLenDataAndSumAddUpToZero) {
  Block b;
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = std::uint8_t(i * 7 + 3);
  const Bytes f = buildBlockFrame(b, false);
  EXPECT_TRUE(std::equal(b.begin(), b.end(), f.begin() + 2));
  const unsigned total = std::accumulate(f.begin() + 1, f.begin() + 259, 0u);
  EXPECT_EQ(total % 256, 0u);
  EXPECT_EQ(fncBootDataSum(f), f[258]);
}

struct ReplyCase {
  Bytes reply;
  std::uint8_t result;
};

TEST(BootFrames, ReplyCheckGivesZeroOrTheStageResult) {
  const ReplyCase cases[] = {
      {{0x02, 0x01, 0x06, 0xF9, 0x03}, 0},                 // ACK
      {{0x02, 0x01, 0x05, 0xFA, 0x03}, 5},                 // parameter failure
      {{0x02, 0x01, 0x06, 0x00, 0x03}, 7},                 // wrong SUM
      {{0x02, 0x01, 0x10, 0xEF, 0x03}, 16},                // writing inhibited
      {{0x02, 0x01, 0x07, 0xF8, 0x03}, 7},                 // controller's own checksum failure
      {{0x02, 0x02, 0x06, 0x06, 0xF2, 0x03}, 0},           // block ACK
      {{0x02, 0x02, 0x06, 0x0F, 0xE9, 0x03}, 6},           // ST2 verify failure
      {{0x02, 0x02, 0x06, 0x1B, 0xDD, 0x03}, 6},           // ST2 write margin
      {{0x02, 0x02, 0x15, 0x06, 0xE3, 0x03}, 0x15},        // ST1 NAK wins over ST2
      {{0x02, 0x02, 0x06, 0x06, 0x00, 0x03}, 7},           // wrong SUM in a block reply
      {{0x55, 0x01, 0x06, 0xF9, 0x55}, 0},                 // STX and ETX are not checked
  };
  for (const auto& c : cases) EXPECT_EQ(fncBootCheckReply(c.reply), c.result) << testing::PrintToString(c.reply);
}

TEST(BootFrames, ReplyWhoseLenPointsPastItsEndIsARunTimeFailure) {
  EXPECT_THROW(fncBootCheckReply({0x02, 0x05, 0x06, 0xF9, 0x03}), std::out_of_range);
  EXPECT_THROW(fncBootCmdSum({0x02, 0x04, 0x06, 0xF9, 0x03}), std::out_of_range);
}

TEST(BootFrames, WritingRateTextIsEmptyOutsideTheTable) {
  EXPECT_STREQ(writingRateText(0), "9600");
  EXPECT_STREQ(writingRateText(5), "153600");
  EXPECT_STREQ(writingRateText(6), "");
  EXPECT_STREQ(writingRateText(-1), "");
}

}  // namespace
}  // namespace vq
