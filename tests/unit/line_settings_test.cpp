#include "platform/line_settings.h"

#include <gtest/gtest.h>

namespace vq {
namespace {

struct ParseCase {
  const char* text;
  bool ok;
  int baud;
  char parity;
  int dataBits;
  int stopTimes2;
};

TEST(LineSettings, ParsesTheTextsTheProgramUses) {
  const ParseCase cases[] = {
      {"307200,o,8,1", true, 307200, 'O', 8, 2},
      {"9600,N,8,1", true, 9600, 'N', 8, 2},
      {"38400,n,8,1", true, 38400, 'N', 8, 2},
      {"110,E,7,1.5", true, 110, 'E', 7, 3},
      {"56000,M,5,2", true, 56000, 'M', 5, 4},
      {" 9600 , s , 8 , 1 ", true, 9600, 'S', 8, 2},
      {",N,8,1", false, 0, 0, 0, 0},  // empty rate text of an out-of-range writing speed
      {"9600,X,8,1", false, 0, 0, 0, 0},
      {"9600,N,8,3", false, 0, 0, 0, 0},
      {"9600,N,8", false, 0, 0, 0, 0},
      {"abc,N,8,1", false, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    auto s = parseLineSettings(c.text);
    ASSERT_EQ(s.has_value(), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(s->baud, c.baud) << c.text;
    EXPECT_EQ(s->parity, c.parity) << c.text;
    EXPECT_EQ(s->dataBits, c.dataBits) << c.text;
    EXPECT_EQ(s->stopBitsTimes2, c.stopTimes2) << c.text;
  }
}

TEST(LineSettings, LineTimeCountsStartParityAndStopBits) {
  // A 260-byte data frame at 9600,N,8,1 spends 271 ms on the line.
  EXPECT_EQ(parseLineSettings("9600,N,8,1")->lineTimeUs(260), 270833);
  EXPECT_DOUBLE_EQ(parseLineSettings("307200,O,8,1")->bitsPerChar(), 11.0);
}

}  // namespace
}  // namespace vq
