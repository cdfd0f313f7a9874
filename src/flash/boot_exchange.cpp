#include "flash/boot_exchange.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "base/boot_state.h"
#include "base/progress.h"
#include "base/state.h"
#include "flash/boot_exchange_state.h"
#include "flash/boot_frames.h"
#include "platform/line_settings.h"

namespace vq {

namespace {

// Resends of a reset frame answered badly before the stage gives up.
constexpr std::uint8_t kResetRetryLimit = 16;
// Pause before each send, which the controller needs between its reply and the next frame.
constexpr int kSendPauseMs = 1;

// Time the frame takes on the line at the port's current rate, whole milliseconds rounded up.
// A reply cannot start before the frame has gone out, so this is added to every time-out.
int lineTimeMs(std::size_t bytes) {
  // Parsed again only when the text changes: a flash sends a thousand frames at one rate.
  static std::string text;
  static std::optional<LineSettings> line;
  if (std::string now = mscComm().settings(); now != text || !line) {
    line = parseLineSettings(now);
    text = std::move(now);
  }
  if (!line) return 0;
  return static_cast<int>((line->lineTimeUs(bytes) + 999) / 1000);
}

// Moves the expected number of collected bytes into gBootRx; false while some are missing.
bool takeReply() {
  if (gBootSurplus.size() < gBootRx.size()) return false;
  std::copy_n(gBootSurplus.begin(), gBootRx.size(), gBootRx.begin());
  gBootSurplus.erase(gBootSurplus.begin(), gBootSurplus.begin() + std::ptrdiff_t(gBootRx.size()));
  return true;
}

void sendBootFrame(const BootExchange& ex) {
  progress().linkState(ex.tag + " SEND");
  gBootSurplus.clear();
  tmrComm().setInterval(gBootTimeout + lineTimeMs(gBootTx.size()));
  mscComm().setSThreshold(int(gBootTx.size()));
  mscComm().setRThreshold(int(gBootRx.size()));
  if (ex.pauseBeforeSend) platform().sleepMs(kSendPauseMs);
  mscComm().output(gBootTx);
  gBootState = bsWait;
  tmrComm().setEnabled(true);
}

}  // namespace

void subBootReceive(CommEvent ev) {
  switch (ev) {
    case CommEvent::Send:
      // A send event that comes late, after the reply, must not reopen the wait.
      if (gBootState != bsWait) return;
      tmrComm().setEnabled(true);
      break;
    case CommEvent::Receive: {
      const Bytes in = mscComm().input();
      gBootSurplus.insert(gBootSurplus.end(), in.begin(), in.end());
      if (!takeReply()) {
        // Part of a reply: wait on for the rest, the time-out still running.
        mscComm().setRThreshold(int(gBootRx.size() - gBootSurplus.size()));
        return;
      }
      tmrComm().setEnabled(false);
      gBootState = bsReceived;
      break;
    }
    case CommEvent::PortFailed:
      // The device went away: a run-time failure of the port, now rather than at the time-out.
      if (gBootState != bsWait) return;
      tmrComm().setEnabled(false);
      gBootState = bsFailed;
      gBootResult = kResultRunTimeFailure;
      gErrCode = kCodeFlashRunTime;
      break;
    default:
      break;
  }
}

void subBootTimeout() {
  if (gBootState == bsDone) {
    tmrComm().setEnabled(false);
    tmrComm().setInterval(0);
  } else if (gBootState == bsWait) {
    tmrComm().setEnabled(false);
    tmrComm().setInterval(0);
    gBootState = bsFailed;
    gBootResult = kResultTimeout;
    gErrCode = kCodeFlashTimeout;
  }
}

void runBootExchange(const Bytes& frame, BootExchange& ex) {
  gBootTx = frame;
  gBootRx.assign(ex.replyLen, 0);
  gBootTimeout = ex.timeoutMs;
  gBootState = bsSend;
  while (gBootState != bsDone && gBootState != bsFailed) {
    if (gBootState == bsSend) {
      sendBootFrame(ex);
    } else if (gBootState == bsReceived) {
      tmrComm().setEnabled(false);
      progress().linkState(ex.recvText.empty() ? ex.tag + " RECV" : ex.recvText);
      ex.evaluate(ex);
    }
    // Only an event can end a wait; the armed tmrComm bounds it.
    if (gBootState == bsWait)
      platform().waitEvents();
    else
      platform().doEvents();
  }
}

void awaitFurtherStatus(std::size_t len, int timeoutMs) {
  tmrComm().setEnabled(false);
  gBootRx.assign(len, 0);
  gBootTimeout = timeoutMs;
  tmrComm().setInterval(timeoutMs);
  if (takeReply()) {
    gBootState = bsReceived;
    return;
  }
  mscComm().setRThreshold(int(len - gBootSurplus.size()));
  tmrComm().setEnabled(true);
  gBootState = bsWait;
}

void failBootStage(std::uint8_t check, std::uint8_t errCode) {
  gBootResult = check;
  gBootState = bsFailed;
  gErrCode = errCode;
}

void evaluateOnce(std::uint8_t errCode) {
  const std::uint8_t check = fncBootCheckReply(gBootRx);
  if (check == kResultOk)
    gBootState = bsDone;
  else
    failBootStage(check, errCode);
}

void evaluateReset() {
  const std::uint8_t check = fncBootCheckReply(gBootRx);
  if (check == kResultOk) {
    gBootState = bsDone;
  } else if (gBootRetry < kResetRetryLimit) {
    ++gBootRetry;
    gBootState = bsSend;
  } else {
    failBootStage(kResultRetryOver, kCodeFlashRetries);
  }
}

std::uint8_t runCommandStage(const StageTexts& texts, const char* tag, const Bytes& frame, int timeoutMs,
                             std::uint8_t errCode) {
  showStageText(pick(texts.start));
  gBootResult = kResultOk;
  gBootRetry = 0;
  BootExchange ex{tag, kStatusLen, timeoutMs, true, "", [errCode](BootExchange&) { evaluateOnce(errCode); }};
  runBootExchange(frame, ex);
  if (gBootResult == kResultOk) showStageCompleted(pick(texts.done));
  return gBootResult;
}

void showStageText(const std::string& text) {
  progress().line(text, ProgressLine::ReplaceLast);
  platform().doEvents();
}

void showStageCompleted(const std::string& text, bool keep) {
  progress().line(text, keep ? ProgressLine::KeepLast : ProgressLine::ReplaceLast);
  platform().doEvents();
}

}  // namespace vq
