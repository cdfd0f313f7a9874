#include "front/autopilot_plan.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/forms.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "flash/boot_texts.h"

namespace vq::front {

AutopilotPlan::AutopilotPlan() {
  print = [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  };
}

void AutopilotPlan::say(const char* tag, const std::string& text) { print(std::string(tag) + ": " + text); }

void AutopilotPlan::saved(const std::string& path, bool ok) {
  if (ok) say("SAVED", path);
  else say("AUTOPILOT", "could not save " + path);
}

std::string AutopilotPlan::langTag() const { return gLangId == kLangJapanese ? "ja" : "en"; }

std::string AutopilotPlan::stepShotName() const { return "step" + std::to_string(int(gStep) + 1) + "-" + langTag() + ".png"; }
std::string AutopilotPlan::midShotName() const { return "step5-mid-" + langTag() + ".png"; }
std::string AutopilotPlan::messageShotName() const {
  return "message-" + std::to_string(messages_) + "-" + langTag() + ".png";
}

void AutopilotPlan::giveUp(const std::string& why) {
  say("AUTOPILOT", why);
  failed_ = true;
}

void AutopilotPlan::messageShown(const std::string& text) {
  ++messages_;
  for (const std::string& line : splitLines(text)) say("MESSAGE", line);
}

bool AutopilotPlan::tooManyMessages() {
  if (messages_ < kMaxMessages) return false;
  giveUp("giving up after " + std::to_string(messages_) + " messages");
  return true;
}

void AutopilotPlan::report(std::int64_t nowMs) {
  for (int k = 0; k < int(frmMain.lblProcess.size()); ++k) {
    if (frmMain.lblProcess[std::size_t(k)].bold && k != printedStep_) {
      printedStep_ = k;
      say("STEP", frmMain.lblProcess[std::size_t(k)].caption);
    }
  }
  progress_.read(frmMain.txtProcess.text, [&](const ProgressReader::Line& l) {
    if (l.counting && nowMs - lastCountingMs_ < kCountingLineEveryMs) return false;
    say("PROGRESS", l.text);
    lastCountingMs_ = nowMs;
    return true;
  });
}

bool AutopilotPlan::midStepShotDue() {
  if (midShotTaken_ || gStep != kStepFirmwareUpdate || !frmMain.stepRunning) return false;
  const auto& bar = frmMain.prgProcess;
  if (bar.max <= bar.min || (bar.value - bar.min) * 2 < bar.max - bar.min) return false;
  // Half way through writing, not through reading the file or verifying.
  const std::vector<std::string> lines = splitLines(frmMain.txtProcess.text);
  if (lines.empty() || lines.back().rfind(pick(kWriteTexts.block), 0) != 0) return false;
  midShotTaken_ = true;
  return true;
}

AutopilotPlan::Action AutopilotPlan::next(bool stepRunning, std::int64_t stalledMs) {
  if (failed_) return Action::GiveUp;
  if (stepRunning || finished_) return Action::Wait;
  if (!fileChosen_) {
    fileChosen_ = true;
    needShot_ = true;
    return Action::ChooseFile;
  }
  if (needShot_) {
    needShot_ = false;
    return Action::Shoot;
  }
  if (!frmMain.cmdNext.enabled) {
    // After a message nothing else is going to enable Next (a file that is no update file).
    if (messages_ > 0 || stalledMs > kStallMs) {
      giveUp("Next stays disabled at step " + std::to_string(int(gStep) + 1));
      return Action::GiveUp;
    }
    return Action::Wait;
  }
  if (gStep == kStepEnd) {
    finished_ = true;
    say("AUTOPILOT", messages_ == 0 ? "done" : "done, with " + std::to_string(messages_) + " message(s)");
  }
  needShot_ = true;
  printedStep_ = -1;  // name the step shown afterwards even when a failure went back to this one
  return Action::PressNext;
}

AutopilotWatchdog::AutopilotWatchdog(int seconds)
    : thread_([this, seconds] {
        std::unique_lock<std::mutex> lock(mutex_);
        if (cancel_.wait_for(lock, std::chrono::seconds(seconds), [this] { return cancelled_; })) return;
        std::fputs("AUTOPILOT: watchdog fired, giving up\n", stdout);
        std::fflush(stdout);
        std::_Exit(3);
      }) {}

AutopilotWatchdog::~AutopilotWatchdog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
  }
  cancel_.notify_all();
  thread_.join();
}

}  // namespace vq::front
