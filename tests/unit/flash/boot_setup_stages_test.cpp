// Connect, clock and baud-rate stages against the fake controller, in virtual time.
#include "base/progress.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_stages.h"

#include "base/comm_settings.h"
#include "flash/boot_frames.h"
#include "unit/flash/flash_fixture.h"

namespace vq::test {
namespace {

using ConnectStage = FlashTest;

TEST_F(ConnectStage, DrivesTheLinesSendsTwoSyncBytesAndResetsWithoutTheSendPause) {
  openPort();
  std::uint8_t result = 99;
  result = subBootConnect();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(gErrCode, 0);
  EXPECT_TRUE(dev.dtr);
  EXPECT_TRUE(dev.rts);
  EXPECT_EQ(dev.syncZeros, 2);
  ASSERT_EQ(p.port.written.size(), 3u);
  // DTR, 2 ms, RTS, 150 ms, 0x00, 7 ms, 0x00, 7 ms, reset at once.
  EXPECT_EQ(p.port.written[0].atUs, 152000);
  EXPECT_EQ(p.port.written[1].atUs, 159000);
  EXPECT_EQ(p.port.written[2].atUs, 166000);
  EXPECT_EQ(p.port.written[2].bytes, buildResetFrame());
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "RESET RECV");
  EXPECT_EQ(gProgressLog, "\r\nConnection completed");
}

TEST_F(ConnectStage, ResetAnsweredBadlyFourTimesThenAckConnects) {
  dev.script = [](const FakeBootController::Frame&, std::size_t i) -> std::optional<std::vector<Bytes>> {
    if (i < 4) return std::vector<Bytes>{{0x02, 0x01, 0x06, 0x00, 0x03}};  // wrong SUM
    return std::nullopt;
  };
  openPort();
  std::uint8_t result = 99;
  result = subBootConnect();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(gBootRetry, 4);
  EXPECT_EQ(dev.count(0x00), 5u);
}

TEST_F(ConnectStage, SixteenResendsAnsweredBadlyGiveUpWith32) {
  dev.script = [](const FakeBootController::Frame&, std::size_t) -> std::optional<std::vector<Bytes>> {
    return std::vector<Bytes>{status1(0x15)};
  };
  openPort();
  std::uint8_t result = 0;
  result = subBootConnect();
  EXPECT_EQ(result, 32);
  EXPECT_EQ(gErrCode, 32);
  EXPECT_EQ(dev.count(0x00), 17u);  // the first send and 16 resends
  EXPECT_EQ(gProgressLog, "");
  EXPECT_EQ(frmMain.txtProcess.text, "\r\nConnection started");
}

TEST_F(ConnectStage, NoReplyFailsAfterTheTimeOutWithoutResend) {
  dev.script = [](const FakeBootController::Frame&, std::size_t) { return std::optional(std::vector<Bytes>{}); };
  openPort();
  std::uint8_t result = 0;
  result = subBootConnect();
  EXPECT_EQ(result, 31);
  EXPECT_EQ(gErrCode, 33);
  EXPECT_EQ(dev.count(0x00), 1u);
  // Sent at 166 ms; 3000 ms counted from the end of its 5.2 ms on the line.
  EXPECT_GE(p.clock.nowUs(), 166000 + 3000000 + 5200);
  EXPECT_LT(p.clock.nowUs(), 166000 + 3000000 + 8000);
}

TEST_F(ConnectStage, DsrStuckOnMeansNoPowerOnAndNothingIsSent) {
  dev.dsrOnReadings = 1000;
  openPort();
  std::uint8_t result = 0;
  result = subBootConnect();
  EXPECT_EQ(result, 126);
  EXPECT_EQ(gErrCode, 31);
  EXPECT_EQ(dev.dsrReadings, 101);
  EXPECT_TRUE(p.port.written.empty());
  EXPECT_FALSE(dev.dtr);
  EXPECT_EQ(frmMain.txtProcess.text, "\r\nConnection started");
}

TEST_F(ConnectStage, DsrDroppingAtTheHundredthReadingStillConnects) {
  dev.dsrOnReadings = 100;
  openPort();
  std::uint8_t result = 99;
  result = subBootConnect();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(dev.dsrReadings, 101);
}

TEST_F(ConnectStage, JapaneseTextsWhenTheSystemIsJapanese) {
  gLangId = 1041;
  openPort();
  subBootConnect();
  EXPECT_EQ(frmMain.txtProcess.text, "\r\n接続完了");
}

using ClockStage = FlashTest;

struct ClockCase {
  Bytes reply;
  std::uint8_t result;
  std::uint8_t errCode;
};

TEST_F(ClockStage, ReplyDecidesResultAndCode) {
  const ClockCase cases[] = {
      {status1(0x06), 0, 0},
      {status1(0x05), 5, 34},
      {{0x02, 0x01, 0x06, 0x00, 0x03}, 7, 34},
  };
  openPort();
  for (const auto& c : cases) {
    gErrCode = 0;
    gProgressLog = "log";
    dev.script = [&](const FakeBootController::Frame&, std::size_t) { return std::optional(std::vector<Bytes>{c.reply}); };
    std::uint8_t result = 99;
    result = subBootSetClock();
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(gErrCode, c.errCode);
    EXPECT_EQ(frmMain.txtProcess.text, c.result ? "log\r\nClock setting started" : "log\r\nClock setting completed");
  }
  EXPECT_EQ(dev.count(0x90), 3u);  // never resent
  EXPECT_EQ(dev.frames.back().bytes, buildClockFrame());
}

using BaudRateStage = FlashTest;

struct BaudCase {
  std::uint8_t index;
  const char* settings;
  int baud;
};

TEST_F(BaudRateStage, SwitchesBothEndsAndConfirmsWithAResetAtTheNewRate) {
  const BaudCase cases[] = {{0, "9600,N,8,1", 9600}, {3, "38400,N,8,1", 38400}, {5, "153600,N,8,1", 153600}};
  for (const auto& c : cases) {
    openPort();
    dev.frames.clear();
    gUpdateBaud = c.index;
    std::uint8_t result = 99;
    result = subBootSetBaudRate();
    EXPECT_EQ(result, 0) << c.settings;
    EXPECT_EQ(p.port.settings(), c.settings);
    ASSERT_EQ(dev.frames.size(), 2u);
    EXPECT_EQ(dev.frames[0].bytes, buildBaudRateFrame(c.index));
    EXPECT_EQ(dev.frames[0].baud, 9600);
    EXPECT_EQ(dev.frames[1].bytes, buildResetFrame());
    EXPECT_EQ(dev.frames[1].baud, c.baud);
    EXPECT_EQ(dev.wrongRateBytes, 0);
    EXPECT_EQ(frmMain.stsAppStatus.panel2, "BAUDRATE RECV");
    p.port.setPortOpen(false);
  }
}

TEST_F(BaudRateStage, RateOutsideTheTableIsRefusedByThePort) {
  openPort();
  gUpdateBaud = 6;
  try {
    subBootSetBaudRate();
    FAIL() << "the port took the settings \",N,8,1\"";
  } catch (const SerialError& e) {
    EXPECT_EQ(e.number, kPortSettingsRejected);
  }
  EXPECT_EQ(p.port.settings(), "9600,N,8,1");
}

TEST_F(BaudRateStage, ConfirmationNotAnsweredTimesOut) {
  openPort();
  dev.script = [](const FakeBootController::Frame& f, std::size_t) -> std::optional<std::vector<Bytes>> {
    if (f.com() == 0x00) return std::vector<Bytes>{};
    return std::nullopt;
  };
  std::uint8_t result = 0;
  result = subBootSetBaudRate();
  EXPECT_EQ(result, 31);
  EXPECT_EQ(gErrCode, 33);
}

}  // namespace
}  // namespace vq::test
