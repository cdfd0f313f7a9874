// The autopilot: walks the wizard by itself, as an operator would, for the demo without a
// display (vq-update --autopilot DIR --file PATH).
//
// It answers the file dialog with PATH, chooses the file, then presses Next through steps 1 to 8
// and once more to quit. On stdout, one line each:
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
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPushButton;
class QWidget;

namespace vq::ui {

class Program;

// Which lines of the progress text to print as it changes: new lines and lines rewritten in
// place, except that a line only counting on ("Now writing new firmware 12 Block") is printed
// at most once every kCountingLineEveryMs.
class ProgressLines {
 public:
  static constexpr qint64 kCountingLineEveryMs = 1000;
  std::vector<std::string> feed(const std::string& text, qint64 nowMs);

 private:
  std::vector<std::string> shown_;  // as last printed
  qint64 lastPrintMs_ = -kCountingLineEveryMs;
};

class Autopilot : public QObject {
 public:
  Autopilot(Program& program, QString outDir, QString file);
  ~Autopilot() override;

  // Arms the watchdog and starts driving the wizard from the event loop.
  void start();
  int exitCode() const;

  // Where the report lines go ("STEP: ..."); stdout unless replaced.
  std::function<void(const std::string& line)> print;

  // Never let a demo hang a build: the whole run gets this long, then the process exits 3.
  static constexpr int kWatchdogSeconds = 15 * 60;
  // Next staying disabled this long outside a running step means the wizard cannot go on.
  static constexpr qint64 kStallMs = 30'000;
  // Each failure sends the wizard back one step and Next retries it; past this many messages
  // the instrument is not going to answer.
  static constexpr int kMaxMessages = 3;

 private:
  void tick();
  // Returns true when a modal window was found (and dealt with).
  bool handleModal();
  void reportProgress();
  void maybeMidStepShot();
  void click(QPushButton* button);
  void save(QWidget* w, const QString& name);
  void fail(const std::string& why);
  void say(const char* tag, const std::string& text);
  QString langTag() const;

  class Watchdog;
  std::unique_ptr<Watchdog> watchdog_;
  Program& program_;
  QString outDir_;
  QString file_;
  QTimer tick_;
  QElapsedTimer stalled_;
  QElapsedTimer clock_;
  ProgressLines progress_;

  bool fileChosen_ = false;
  bool clickPending_ = false;  // a click runs, maybe with a step nested inside it
  bool needShot_ = false;
  bool midShotTaken_ = false;
  bool finished_ = false;
  bool failed_ = false;
  int messages_ = 0;
  int printedStep_ = -1;
};

}  // namespace vq::ui
