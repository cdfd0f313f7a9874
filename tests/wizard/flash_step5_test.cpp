// Step 5 run from Next, in virtual time, against the scripted boot controller: the whole
// update at real line speed, failures and where they leave the window, the controller's flash.
#include "app/sequencer.h"
#include "app/step_texts.h"
#include "base/boot_state.h"
#include "base/comm_settings.h"
#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/progress.h"
#include "flash/boot_frames.h"
#include "image/write_blocks.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

constexpr const char* kFlashLines =
    "\r\nConnection completed\r\nClock setting completed\r\nBaud rate setting completed"
    "\r\nErasing the old firmware completed\r\nWriting new firmware completed\r\nVerifying completed";

class Step5 : public WizardTest {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    // An update file whose body fills the image with a pattern.
    gFileData.assign(kHeaderSize + kImageSize, 0);
    for (std::size_t i = 0; i < kImageSize; ++i) gFileData[kHeaderSize + i] = std::uint8_t(i * 13 + i / 256);
    gFileLength = std::int32_t(gFileData.size());
    gFileValid = true;
    gStep = 3;  // step 4 on screen, the operator has switched the instrument to writing mode
    subStep4PrepareFirmwareUpdate();
  }

  FakeBootController& dev() { return *bootController; }

  bool flashHoldsImage() const {
    for (std::size_t b = 0; b < gImage.size(); ++b)
      if (!std::equal(gImage[b].begin(), gImage[b].end(), bootController->flash.begin() + std::ptrdiff_t(b * kBlockSize)))
        return false;
    return true;
  }
  bool flashUntouched() const {
    return std::all_of(bootController->flash.begin(), bootController->flash.end(), [](std::uint8_t x) { return x == 0xAB; });
  }

  void expectPortReleased() {
    EXPECT_FALSE(p->port.portOpen());
    EXPECT_FALSE(p->port.rts());
    EXPECT_FALSE(p->port.dtr());
    EXPECT_FALSE(p->timer.enabled());
    EXPECT_EQ(p->port.rThreshold(), 1);  // as the instrument link expects it
    EXPECT_FALSE(frmMain.stepRunning);
  }

  // Step 4 re-shown after a failure of step 5, its message shown once.
  void expectBackOnStep4(int code) {
    ASSERT_EQ(p->messages.size(), 1u);
    EXPECT_EQ(p->messages[0], errorText(code)->en);
    EXPECT_EQ(gStep, 3);
    EXPECT_EQ(boldStep(), 4);
    EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T4).en);
    EXPECT_EQ(buttons(), (Buttons{off, on, on, on, on}));
  }
};

TEST_F(Step5, WholeUpdateAt9600WithEveryFrameTakingItsLineTime) {
  gUpdateBaud = 0;
  bool runningInside = false;
  duringNextStep([&] { runningInside = frmMain.stepRunning; });
  cmdNext_Click();

  EXPECT_TRUE(p->messages.empty());
  EXPECT_EQ(gStep, 4);
  EXPECT_EQ(gFlashResult, 0);
  EXPECT_TRUE(runningInside);
  EXPECT_TRUE(flashHoldsImage());
  EXPECT_EQ(dev().wrongRateBytes, 0);
  EXPECT_EQ(dev().count(-1), 1025u);  // 512 written, the security setting, 512 verified
  // Every block frame spent its 270.8 ms on the line: the whole run cannot be shorter.
  EXPECT_GT(p->clock.nowUs(), 1024LL * 270834);
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T5b).en);
  EXPECT_EQ(buttons(), (Buttons{off, off, off, off, on}));
  EXPECT_EQ(frmMain.txtProcess.text, gProgressLog);
  EXPECT_TRUE(gProgressLog.ends_with(kFlashLines)) << gProgressLog;
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "VERIFY DATA RECV");
  expectPortReleased();
}

TEST_F(Step5, WholeUpdateThroughABatchingAdapterAtEachWritingRate) {
  for (std::uint8_t rate = 0; rate < 6; ++rate) {
    SCOPED_TRACE(int(rate));
    load();
    SetUp();
    p->port.coalesceUs = 2000;
    gUpdateBaud = rate;
    cmdNext_Click();
    EXPECT_TRUE(p->messages.empty());
    EXPECT_EQ(gStep, 4);
    EXPECT_TRUE(flashHoldsImage());
    EXPECT_EQ(p->port.written.back().settings, std::string(writingRateText(rate)) + ",N,8,1");
  }
}

TEST_F(Step5, ControllerThatNeverAnswersTheResetLeavesTheFlashUntouched) {
  dev().script = [](const FakeBootController::Frame&, std::size_t) { return std::optional(std::vector<Bytes>{}); };
  cmdNext_Click();
  expectBackOnStep4(33);
  EXPECT_EQ(gFlashResult, 31);
  EXPECT_EQ(dev().frames.size(), 1u);
  EXPECT_EQ(dev().count(0x20), 0u);
  EXPECT_TRUE(flashUntouched());
  expectPortReleased();

  // Next reruns the whole step, from the connect stage on.
  dev().script = nullptr;
  cmdNext_Click();
  EXPECT_EQ(gStep, 4);
  EXPECT_EQ(dev().syncZeros, 4);
  EXPECT_TRUE(flashHoldsImage());
}

struct StepFailure {
  const char* name;
  std::function<void(virt::VirtualPlatform&, FakeBootController&)> arrange;
  std::uint8_t flashResult;
  int code;
  bool anyFrame;
};

TEST_F(Step5, FailuresStopTheStagesCloseThePortAndReShowStep4) {
  const StepFailure cases[] = {
      {"no such port", [](auto& p, auto&) { p.port.existingPorts = {}; }, 37, 30, false},
      {"writing rate outside the table", [](auto&, auto&) { gUpdateBaud = 6; }, 37, 30, true},
      {"DSR stuck on", [](auto&, auto& d) { d.dsrOnReadings = 1000; }, 126, 31, false},
      {"reply whose LEN points past its end",
       [](auto&, auto& d) {
         d.script = [](const FakeBootController::Frame& f, std::size_t) -> std::optional<std::vector<Bytes>> {
           if (f.com() == 0x90) return std::vector<Bytes>{{0x02, 0x07, 0x06, 0xF9, 0x03}};
           return std::nullopt;
         };
       },
       37, 30, true},
      {"clock refused",
       [](auto&, auto& d) {
         d.script = [](const FakeBootController::Frame& f, std::size_t) -> std::optional<std::vector<Bytes>> {
           if (f.com() == 0x90) return std::vector<Bytes>{status1(0x05)};
           return std::nullopt;
         };
       },
       5, 34, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    load();
    SetUp();
    c.arrange(*p, dev());
    cmdNext_Click();
    expectBackOnStep4(c.code);
    EXPECT_EQ(gFlashResult, c.flashResult);
    EXPECT_EQ(!p->port.written.empty(), c.anyFrame);
    EXPECT_EQ(dev().count(0x20), 0u);
    EXPECT_TRUE(flashUntouched());
    expectPortReleased();
  }
}

TEST_F(Step5, BodyTooLongStopsAfterTheImageWithThePortOpenedAndClosed) {
  gFileData.push_back(0x5A);
  gFileLength = std::int32_t(gFileData.size());
  cmdNext_Click();
  expectBackOnStep4(22);
  EXPECT_EQ(gFlashResult, 36);
  EXPECT_EQ(p->port.opens, 1);
  EXPECT_TRUE(p->port.written.empty());
  EXPECT_TRUE(flashUntouched());
  expectPortReleased();
}

}  // namespace
}  // namespace vq::test
