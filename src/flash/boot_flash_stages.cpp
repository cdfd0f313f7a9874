// Erase, write, security setting and verify: the stages that change the controller's flash.
#include <string>

#include "base/boot_state.h"
#include "base/progress.h"
#include "base/state.h"
#include "flash/boot_exchange.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_frames.h"
#include "flash/boot_stages.h"
#include "flash/boot_texts.h"
#include "image/write_blocks.h"

namespace vq {

namespace {

constexpr int kEraseTimeoutMs = 65535;  // erasing the whole flash takes the controller long
constexpr int kWriteBlockTimeoutMs = 318;
constexpr int kWriteCompletionTimeoutMs = 1088;  // the controller finishes programming first
constexpr int kVerifyBlockTimeoutMs = 100;
constexpr int kSecurityDataTimeoutMs = 4162;
constexpr int kSecuritySecondTimeoutMs = 4193;

struct BlockRun {
  const StageTexts& texts;
  const char* tag;
  int timeoutMs;
  std::uint8_t errCode;
  bool completionStatus;  // the controller confirms the last block with a further status
};

// Sends the 512 blocks of gImage, each after the previous one's reply; stops at a failure.
void sendImageBlocks(const BlockRun& run) {
  for (int b = 0; b < kBlockCount; ++b) {
    progress().value(b);
    showStageText(pick(run.texts.block) + std::to_string(b) + kBlockSuffix);

    const bool last = b == kBlockCount - 1;
    bool awaitingCompletion = false;
    BootExchange ex{run.tag, kBlockStatusLen, run.timeoutMs, true, "", [&](BootExchange&) {
                      if (awaitingCompletion) {
                        evaluateOnce(run.errCode);
                        return;
                      }
                      const std::uint8_t check = fncBootCheckReply(gBootRx);
                      if (check != kResultOk) {
                        failBootStage(check, run.errCode);
                      } else if (last && run.completionStatus) {
                        awaitingCompletion = true;
                        awaitFurtherStatus(kStatusLen, kWriteCompletionTimeoutMs);
                      } else {
                        gBootState = bsDone;
                      }
                    }};
    runBootExchange(buildBlockFrame(gImage[std::size_t(b)], last), ex);
    if (gBootState == bsFailed) return;
  }
  gBootState = bsBlocksDone;
}

void runBlockStage(const Bytes& command, const char* commandTag, const BlockRun& run) {
  showStageText(pick(run.texts.start));
  const std::uint8_t errCode = run.errCode;
  BootExchange ex{commandTag, kStatusLen, kBootCommandTimeoutMs, true, "",
                  [errCode](BootExchange&) { evaluateOnce(errCode); }};
  runBootExchange(command, ex);
  if (gBootState == bsDone) sendImageBlocks(run);
  if (gBootResult == kResultOk) showStageCompleted(pick(run.texts.done));
}

}  // namespace

std::uint8_t subBootChipErase() {
  return runCommandStage(kEraseTexts, "CHIP ERASE", buildChipEraseFrame(), kEraseTimeoutMs, kCodeFlashErase);
}

std::uint8_t subBootWrite() {
  runBlockStage(buildProgramCommand(), "WRITE CMD",
                {kWriteTexts, "WRITE DATA", kWriteBlockTimeoutMs, kCodeFlashWrite, true});
  return gBootResult;
}

std::uint8_t subBootVerify() {
  runBlockStage(buildVerifyCommand(), "VERIFY CMD",
                {kVerifyTexts, "VERIFY DATA", kVerifyBlockTimeoutMs, kCodeFlashVerify, false});
  return gBootResult;
}

std::uint8_t subBootSecuritySet() {
  showStageText(pick(kSecurityTexts.start));

  BootExchange cmd{"SECURITY SET CMD", kStatusLen, kBootCommandTimeoutMs, true, "",
                   [](BootExchange&) { evaluateOnce(kCodeFlashSetting); }};
  runBootExchange(buildSecurityCommand(), cmd);

  if (gBootState == bsDone) {
    // The controller answers the setting with two statuses in a row.
    bool second = false;
    BootExchange data{"SECURITY SET DATA", kStatusLen, kSecurityDataTimeoutMs, true, "SECURITY SET DATA RECV1",
                      [&second](BootExchange& e) {
                        if (second) {
                          evaluateOnce(kCodeFlashSetting);
                          return;
                        }
                        const std::uint8_t check = fncBootCheckReply(gBootRx);
                        if (check != kResultOk) {
                          failBootStage(check, kCodeFlashSetting);
                          return;
                        }
                        second = true;
                        e.recvText = "SECURITY SET DATA RECV2";
                        awaitFurtherStatus(kStatusLen, kSecuritySecondTimeoutMs);
                      }};
    runBootExchange(buildSecurityDataFrame(), data);
  }

  // Shown but not kept: the verify stage's start text takes this line.
  if (gBootResult == kResultOk) showStageCompleted(pick(kSecurityTexts.done), false);
  return gBootResult;
}

}  // namespace vq
