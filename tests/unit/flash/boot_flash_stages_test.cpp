// Erase, write, security setting and verify against the fake controller, in virtual time.
#include "base/progress.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_stages.h"

#include "flash/boot_frames.h"
#include "image/write_blocks.h"
#include "unit/flash/flash_fixture.h"

namespace vq::test {
namespace {

using Script = std::function<std::optional<std::vector<Bytes>>(const FakeBootController::Frame&, std::size_t)>;

// Replaces the answer to the n-th data frame (0-based) and keeps every other answer good.
Script onDataFrame(std::size_t n, std::vector<Bytes> reply) {
  auto seen = std::make_shared<std::size_t>(0);
  return [=](const FakeBootController::Frame& f, std::size_t) -> std::optional<std::vector<Bytes>> {
    if (f.kind() != 0x02) return std::nullopt;
    if ((*seen)++ == n) return reply;
    return std::nullopt;
  };
}

Script onCommand(std::uint8_t com, std::vector<Bytes> reply) {
  return [=](const FakeBootController::Frame& f, std::size_t) -> std::optional<std::vector<Bytes>> {
    if (f.kind() == 0x01 && f.com() == com) return reply;
    return std::nullopt;
  };
}

class FlashStages : public FlashTest {
 protected:
  FlashStages() {
    for (std::size_t b = 0; b < gImage.size(); ++b)
      for (std::size_t j = 0; j < kBlockSize; ++j) gImage[b][j] = std::uint8_t(b * 31 + j);
    openPort(38400);
  }
  bool flashHoldsImage() const {
    for (std::size_t b = 0; b < gImage.size(); ++b)
      if (!std::equal(gImage[b].begin(), gImage[b].end(), dev.flash.begin() + std::ptrdiff_t(b * kBlockSize)))
        return false;
    return true;
  }
};

TEST_F(FlashStages, EraseSendsChipEraseAndKeepsItsCompletionLine) {
  gProgressLog = "before";
  std::uint8_t result = 99;
  result = subBootChipErase();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(framesWritten(), (std::vector<Bytes>{buildChipEraseFrame()}));
  EXPECT_EQ(gProgressLog, "before\r\nErasing the old firmware completed");
  EXPECT_EQ(dev.flash[0], 0xFF);
}

struct EraseCase {
  std::vector<Bytes> reply;
  std::uint8_t result, errCode;
  std::int64_t atLeastUs;
};

TEST_F(FlashStages, EraseFailures) {
  const EraseCase cases[] = {
      {{status1(0x1A)}, 0x1A, 35, 0},
      {{{0x02, 0x01, 0x06, 0x01, 0x03}}, 7, 35, 0},
      {{}, 31, 33, 65535000},
  };
  for (const auto& c : cases) {
    gErrCode = 0;
    dev.script = onCommand(0x20, c.reply);
    const auto start = p.clock.nowUs();
    std::uint8_t result = 0;
    result = subBootChipErase();
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(gErrCode, c.errCode);
    EXPECT_GE(p.clock.nowUs() - start, c.atLeastUs);
  }
}

TEST_F(FlashStages, WriteSendsTheProgrammingCommandAndEveryBlockInOrder) {
  std::uint8_t result = 99;
  result = subBootWrite();
  EXPECT_EQ(result, 0);
  const auto frames = framesWritten();
  ASSERT_EQ(frames.size(), 513u);
  EXPECT_EQ(frames[0], buildProgramCommand());
  for (int b = 0; b < 512; ++b) EXPECT_EQ(frames[std::size_t(b) + 1], buildBlockFrame(gImage[std::size_t(b)], b == 511));
  EXPECT_EQ(frames[1].back(), 0x17);
  EXPECT_EQ(frames[512].back(), 0x03);
  EXPECT_TRUE(flashHoldsImage());
  EXPECT_EQ(frmMain.prgProcess.value, 511);
  EXPECT_EQ(gProgressLog, "\r\nWriting new firmware completed");
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "WRITE DATA RECV");
}

TEST_F(FlashStages, WriteShowsEachBlockWithoutKeepingIt) {
  gProgressLog = "log";
  std::vector<std::string> shown;
  dev.script = [&](const FakeBootController::Frame& f, std::size_t) -> std::optional<std::vector<Bytes>> {
    if (f.kind() == 0x02) shown.push_back(frmMain.txtProcess.text + "|" + std::to_string(frmMain.prgProcess.value));
    return std::nullopt;
  };
  subBootWrite();
  ASSERT_EQ(shown.size(), 512u);
  EXPECT_EQ(shown[0], "log\r\nNow writing new firmware 0 Block|0");
  EXPECT_EQ(shown[17], "log\r\nNow writing new firmware 17 Block|17");
  EXPECT_EQ(shown[511], "log\r\nNow writing new firmware 511 Block|511");
}

TEST_F(FlashStages, WriteBlockReplyWithBadSt2FailsWith6AndStops) {
  dev.script = onDataFrame(3, {{0x02, 0x02, 0x06, 0x1B, 0xDD, 0x03}});
  std::uint8_t result = 0;
  result = subBootWrite();
  EXPECT_EQ(result, 6);
  EXPECT_EQ(gErrCode, 36);
  EXPECT_EQ(dev.count(-1), 4u);
  EXPECT_EQ(frmMain.txtProcess.text, "\r\nNow writing new firmware 3 Block");
}

TEST_F(FlashStages, ProgrammingCommandRefusedSendsNoDataFrame) {
  dev.script = onCommand(0x40, {{0x02, 0x01, 0x10, 0xEF, 0x03}});
  std::uint8_t result = 0;
  result = subBootWrite();
  EXPECT_EQ(result, 16);
  EXPECT_EQ(gErrCode, 36);
  EXPECT_EQ(dev.count(-1), 0u);
}

TEST_F(FlashStages, MissingCompletionStatusTimesOutAfterTheLastBlock) {
  dev.script = onDataFrame(511, {status2(0x06, 0x06)});
  std::int64_t lastReplyAt = 0;
  std::uint8_t result = 0;
  result = subBootWrite();
  lastReplyAt = dev.frames.back().endUs;
  EXPECT_EQ(result, 31);
  EXPECT_EQ(gErrCode, 33);
  EXPECT_GE(p.clock.nowUs() - lastReplyAt, 1088000);
  EXPECT_LT(p.clock.nowUs() - lastReplyAt, 1100000);
}

TEST_F(FlashStages, BadCompletionStatusFailsTheWrite) {
  dev.script = onDataFrame(511, {status2(0x06, 0x06), status1(0x18)});
  std::uint8_t result = 0;
  result = subBootWrite();
  EXPECT_EQ(result, 0x18);
  EXPECT_EQ(gErrCode, 36);
}

TEST_F(FlashStages, VerifyComparesEveryBlockAndEndsWithoutACompletionStatus) {
  std::uint8_t result = 99;
  result = subBootWrite();
  result = subBootVerify();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(dev.count(0x13), 1u);
  EXPECT_EQ(dev.count(-1), 1024u);
  EXPECT_EQ(dev.frames.back().bytes.back(), 0x03);
  EXPECT_EQ(gProgressLog, "\r\nWriting new firmware completed\r\nVerifying completed");
}

TEST_F(FlashStages, VerifyBlock300UnansweredStopsBeforeBlock301) {
  std::copy(&gImage[0][0], &gImage[0][0] + kImageSize, dev.flash.begin());
  dev.script = onDataFrame(300, {});
  std::uint8_t result = 0;
  result = subBootVerify();
  EXPECT_EQ(result, 31);
  EXPECT_EQ(gErrCode, 33);
  EXPECT_EQ(dev.count(-1), 301u);
  const auto sentAt = p.port.written.back().atUs;
  // 100 ms counted from the end of the frame's 67.7 ms on the line at 38400.
  EXPECT_GE(p.clock.nowUs() - sentAt, 167000);
  EXPECT_LT(p.clock.nowUs() - sentAt, 172000);
  EXPECT_EQ(frmMain.txtProcess.text, "\r\nNow verifying 300 Block");
}

TEST_F(FlashStages, SecuritySendsCommandThenDataAndShowsButDoesNotKeepItsLine) {
  gProgressLog = "log";
  std::uint8_t result = 99;
  result = subBootSecuritySet();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(framesWritten(), (std::vector<Bytes>{buildSecurityCommand(), buildSecurityDataFrame()}));
  EXPECT_EQ(frmMain.txtProcess.text, "log\r\nFinal setting completed");
  EXPECT_EQ(gProgressLog, "log");
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "SECURITY SET DATA RECV2");
  result = subBootVerify();
  EXPECT_EQ(frmMain.txtProcess.text.rfind("log\r\nNow verifying ", 0), 0u);
}

struct SecurityCase {
  const char* name;
  Script script;
  std::uint8_t result, errCode;
  std::size_t dataFrames;
  const char* panel;
  std::int64_t atLeastUs = 0;
};

TEST_F(FlashStages, SecurityFailures) {
  const SecurityCase cases[] = {
      {"command refused", onCommand(0xA0, {status1(0x10)}), 16, 34, 0, "SECURITY SET CMD RECV"},
      {"command unanswered", onCommand(0xA0, {}), 31, 33, 0, "SECURITY SET CMD SEND"},
      {"first status bad sum", onDataFrame(0, {{0x02, 0x01, 0x06, 0x07, 0x03}}), 7, 34, 1, "SECURITY SET DATA RECV1"},
      {"second status NAK", onDataFrame(0, {status1(0x06), status1(0x15)}), 0x15, 34, 1, "SECURITY SET DATA RECV2"},
      {"second status missing", onDataFrame(0, {status1(0x06)}), 31, 33, 1, "SECURITY SET DATA RECV1", 4193000},
  };
  for (const auto& c : cases) {
    dev.frames.clear();
    gErrCode = 0;
    gBootResult = 0;
    dev.script = c.script;
    const auto start = p.clock.nowUs();
    std::uint8_t result = 0;
    result = subBootSecuritySet();
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(gErrCode, c.errCode) << c.name;
    EXPECT_EQ(dev.count(-1), c.dataFrames) << c.name;
    EXPECT_EQ(frmMain.stsAppStatus.panel2, c.panel) << c.name;
    EXPECT_EQ(frmMain.txtProcess.text, "\r\nFinal setting started") << c.name;
    EXPECT_GE(p.clock.nowUs() - start, c.atLeastUs) << c.name;
  }
}

// A batching adapter hands both statuses over in one read; the second must not be lost.
class BackToBackStatuses : public FlashStages {
 protected:
  BackToBackStatuses() { p.port.coalesceUs = 4000; }
};

TEST_F(BackToBackStatuses, CompletionStatusInTheSameReadAsTheLastBlockStatus) {
  std::uint8_t result = 99;
  result = subBootWrite();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(gErrCode, 0);
  EXPECT_TRUE(flashHoldsImage());
}

TEST_F(BackToBackStatuses, SecondSecurityStatusInTheSameReadAsTheFirst) {
  std::uint8_t result = 99;
  result = subBootSecuritySet();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(gErrCode, 0);
}

TEST_F(BackToBackStatuses, CompletionStatusSplitAcrossTwoReads) {
  // Three bytes of the completion status come with the block status, the rest later.
  dev.script = onDataFrame(511, {status2(0x06, 0x06) + Bytes{0x02, 0x01, 0x06}, Bytes{0xF9, 0x03}});
  dev.completionGapUs = 20000;
  std::uint8_t result = 99;
  result = subBootWrite();
  EXPECT_EQ(result, 0);
}

TEST_F(BackToBackStatuses, SurplusBehindAnOrdinaryReplyIsDropped) {
  // Seven bytes for a five-byte reply: the first five count, the next exchange is unaffected.
  dev.script = [](const FakeBootController::Frame& f, std::size_t) -> std::optional<std::vector<Bytes>> {
    if (f.com() == 0x20) return std::vector<Bytes>{status1(0x06) + Bytes{0x02, 0x01}};
    return std::nullopt;
  };
  std::uint8_t result = 99;
  result = subBootChipErase();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(gBootSurplus.size(), 2u);
  result = subBootWrite();
  EXPECT_EQ(result, 0);
}

// A frame's own line time must not eat its time-out: at 9600 and 19200 a 260-byte block takes
// longer on the line than the verify time-out of 100 ms.
struct RateCase {
  int baud;
  std::int64_t frameUs;
};

TEST_F(FlashStages, VerifyTimeOutCountsFromTheEndOfTheFrame) {
  const RateCase cases[] = {{9600, 270834}, {19200, 135417}};
  for (const auto& c : cases) {
    p.port.setPortOpen(false);
    openPort(c.baud);
    dev.frames.clear();
    gErrCode = 0;
    dev.replyDelayUs = 90000;  // slow but within 100 ms of the frame's end
    dev.script = nullptr;
    std::uint8_t result = 99;
    result = subBootVerify();
    EXPECT_EQ(result, 6) << c.baud;  // answered (flash differs), not timed out
    EXPECT_EQ(gErrCode, 37) << c.baud;

    dev.script = onDataFrame(0, {});
    dev.frames.clear();
    gErrCode = 0;
    result = subBootVerify();
    EXPECT_EQ(result, 31) << c.baud;
    const auto sentAt = p.port.written.back().atUs;
    EXPECT_GE(p.clock.nowUs() - sentAt, c.frameUs + 100000) << c.baud;
    EXPECT_LT(p.clock.nowUs() - sentAt, c.frameUs + 104000) << c.baud;
  }
}

}  // namespace
}  // namespace vq::test
