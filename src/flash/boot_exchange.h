// Boot-mode exchange: one frame out, one status frame back, bounded by tmrComm. The handlers
// subBootReceive and subBootTimeout are reached through the wizard's event routing in step 5.
#pragma once
#include <cstddef>
#include <functional>
#include <string>

#include "flash/boot_texts.h"
#include "platform/platform.h"

namespace vq {

// Time-out of a command frame's status, for every command but the chip erase.
constexpr int kBootCommandTimeoutMs = 3000;

void subBootReceive(CommEvent ev);
void subBootTimeout();

// One exchange as a stage describes it. The evaluation runs once per reply received (state
// bsReceived) and must move gBootState on: bsDone, bsFailed, bsSend (resend) or, through
// awaitFurtherStatus, bsWait.
struct BootExchange {
  std::string tag;             // status-bar tag, e.g. "CHIP ERASE"
  std::size_t replyLen = 5;
  int timeoutMs = 0;
  bool pauseBeforeSend = true;  // the connect stage's reset goes out without the 1 ms pause
  std::string recvText;        // panel text on a reply; tag + " RECV" when empty
  std::function<void(BootExchange&)> evaluate;
};

// Sends `frame` (complete with SUM and end byte) and loops until bsDone or bsFailed.
void runBootExchange(const Bytes& frame, BootExchange& ex);

// Waits for a further status frame without sending (the write completion status, the second
// security status). Bytes that arrived behind the previous reply are its start.
void awaitFurtherStatus(std::size_t len, int timeoutMs);

// Evaluation rules shared by the stages.
// A good reply ends the exchange; a bad one fails the stage with errCode, no resend.
void evaluateOnce(std::uint8_t errCode);
// Reset rule: a bad reply is answered by resending while gBootRetry is below 16.
void evaluateReset();
// Sets gBootResult from a bad reply check and fails the stage with errCode.
void failBootStage(std::uint8_t check, std::uint8_t errCode);

// A stage of one command frame answered by one status (clock setting, chip erase): its start
// text, the result and resend count cleared, the exchange, its completion text on success.
// Returns gBootResult.
std::uint8_t runCommandStage(const StageTexts& texts, const char* tag, const Bytes& frame, int timeoutMs,
                             std::uint8_t errCode);

// Progress texts: the start or block line replaces the last line; a completion line is kept.
void showStageText(const std::string& text);
void showStageCompleted(const std::string& text, bool keep = true);

// The exchange's own state (flash/boot_exchange_state.h, kept inside flash/) to its start-up
// values; resetAllState() (app/reset_all_state.h) calls it.
void resetBootExchangeState();

}  // namespace vq
