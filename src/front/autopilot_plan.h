// The autopilot's decisions, apart from any toolkit: when to choose the file, take a picture,
// press Next or give up, what to report and the exit code. A window's autopilot finds its
// widgets, clicks, grabs PNGs and closes message boxes, and asks this at every tick.
//
// The report, one line each:
//   STEP: <the step's name as shown>
//   PROGRESS: <each new line of the progress text>
//   MESSAGE: <each line of a message box>          (the box is then accepted)
//   SAVED: <a PNG written>                          DIR/stepN-<en|ja>.png, DIR/step5-mid-<lang>.png,
//                                                   DIR/message-N-<lang>.png
//   AUTOPILOT: <what went wrong, or "done">
// A message box does not stop it: Next retries the failed step, up to kMaxMessages boxes.
// Exit code: 0 when the wizard reached its end with no message box, 1 otherwise, 3 when the
// watchdog fired.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "front/progress_reader.h"

namespace vq::front {

class AutopilotPlan {
 public:
  enum class Action {
    Wait,       // nothing to do at this tick
    ChooseFile, // click cmdFWFileSel (the file dialog is answered with the file)
    Shoot,      // grab the window as shotName()
    PressNext,  // click cmdNext
    GiveUp,     // the wizard cannot go on: end the program with exitCode()
  };

  // Never let a demo hang a build: the whole run gets this long, then the process exits 3.
  static constexpr int kWatchdogSeconds = 15 * 60;
  // Next staying disabled this long outside a running step means the wizard cannot go on.
  static constexpr std::int64_t kStallMs = 30'000;
  // Each failure sends the wizard back one step and Next retries it; past this many messages
  // the instrument is not going to answer.
  static constexpr int kMaxMessages = 3;
  // A line only counting on is reported at most this often.
  static constexpr std::int64_t kCountingLineEveryMs = 1000;
  // Often enough to catch the progress text and the half-way point of step 5 on the way.
  static constexpr int kTickMs = 25;

  // Where the report lines go; stdout unless replaced.
  std::function<void(const std::string& line)> print;

  AutopilotPlan();

  // A message box is up: its lines reported. Then, once its picture is taken and it is
  // closed: true when it was one too many (the wizard is given up).
  void messageShown(const std::string& text);
  bool tooManyMessages();
  // The window cannot be driven (a button missing): given up with the reason.
  void giveUp(const std::string& why);
  // The step names and progress lines new since the last tick, reported.
  void report(std::int64_t nowMs);
  // Step 5 is half-way through writing: take its picture now (once).
  bool midStepShotDue();
  // What to do while no click and no step runs; stalledMs: since the last click ended.
  Action next(bool stepRunning, std::int64_t stalledMs);

  // The picture's file name: "step3-en.png", "step5-mid-ja.png", "message-2-en.png".
  std::string stepShotName() const;
  std::string midShotName() const;
  std::string messageShotName() const;

  void say(const char* tag, const std::string& text);
  void saved(const std::string& path, bool ok);
  int exitCode() const { return finished_ && !failed_ && messages_ == 0 ? 0 : 1; }
  bool failed() const { return failed_; }

 private:
  std::string langTag() const;

  ProgressReader progress_;
  std::int64_t lastCountingMs_ = -kCountingLineEveryMs;
  bool fileChosen_ = false;
  bool needShot_ = false;
  bool midShotTaken_ = false;
  bool finished_ = false;
  bool failed_ = false;
  int messages_ = 0;
  int printedStep_ = -1;
};

// A thread of its own, not a timer of the window's loop: it fires even if that loop is stuck,
// and ends the process with 3.
class AutopilotWatchdog {
 public:
  explicit AutopilotWatchdog(int seconds = AutopilotPlan::kWatchdogSeconds);
  ~AutopilotWatchdog();
  AutopilotWatchdog(const AutopilotWatchdog&) = delete;
  AutopilotWatchdog& operator=(const AutopilotWatchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable cancel_;
  bool cancelled_ = false;
  std::thread thread_;  // last: it starts once the rest is there
};

}  // namespace vq::front
