// Connect, clock and baud-rate stages: from a freshly started boot mode to a controller that
// listens at the writing rate.
#include <string>

#include "base/boot_state.h"
#include "base/comm_settings.h"
#include "base/state.h"
#include "flash/boot_exchange.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_frames.h"
#include "flash/boot_stages.h"
#include "flash/boot_texts.h"

namespace vq {

namespace {

// A controller still holding DSR after this many readings has not been restarted.
constexpr int kPowerOnReadings = 100;
// Line sequence that puts the controller into its boot-mode receiver.
constexpr int kDtrToRtsMs = 2;
constexpr int kRtsSettleMs = 150;
constexpr int kSyncGapMs = 7;
constexpr int kBaudFramePauseMs = 1;
constexpr const char* kBootLineFormat = ",N,8,1";

}  // namespace

std::uint8_t subBootConnect() {
  showStageText(pick(kConnectTexts.start));
  gBootResult = kResultOk;
  gBootRetry = 0;

  for (int reading = 1; mscComm().dsrHolding(); ++reading) {
    if (reading > kPowerOnReadings) {
      gErrCode = kCodeFlashNoConnection;
      return kResultNoPowerOn;
    }
    platform().doEvents();
  }

  mscComm().setDTREnable(true);
  platform().sleepMs(kDtrToRtsMs);
  mscComm().setRTSEnable(true);
  platform().sleepMs(kRtsSettleMs);
  for (int i = 0; i < 2; ++i) {
    mscComm().output({0x00});
    platform().sleepMs(kSyncGapMs);
  }

  BootExchange ex{"RESET", kStatusLen, kBootCommandTimeoutMs, false, "", [](BootExchange&) { evaluateReset(); }};
  runBootExchange(buildResetFrame(), ex);

  if (gBootResult == kResultOk) showStageCompleted(pick(kConnectTexts.done));
  return gBootResult;
}

std::uint8_t subBootSetClock() {
  return runCommandStage(kClockTexts, "OFS", buildClockFrame(), kBootCommandTimeoutMs, kCodeFlashSetting);
}

std::uint8_t subBootSetBaudRate() {
  showStageText(pick(kBaudRateTexts.start));

  // The controller switches as soon as it has the frame and does not answer it.
  gBootTx = buildBaudRateFrame(gUpdateBaud);
  gBootTimeout = 0;
  tmrComm().setInterval(0);
  mscComm().setSThreshold(int(gBootTx.size()));
  mscComm().setRThreshold(int(kStatusLen));
  platform().sleepMs(kBaudFramePauseMs);
  mscComm().output(gBootTx);
  gBootState = bsWait;
  platform().sleepMs(kBaudFramePauseMs);

  // Outside the rate table the text is empty and the port refuses the settings.
  mscComm().setSettings(std::string(writingRateText(gUpdateBaud)) + kBootLineFormat);

  BootExchange ex{"BAUDRATE", kStatusLen, kBootCommandTimeoutMs, true, "", [](BootExchange&) { evaluateReset(); }};
  runBootExchange(buildResetFrame(), ex);

  if (gBootResult == kResultOk) showStageCompleted(pick(kBaudRateTexts.done));
  return gBootResult;
}

}  // namespace vq
