#include "ui/autopilot.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "app/frm_main.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "flash/boot_texts.h"
#include "ui/program.h"

namespace vq::ui {

namespace {

// Often enough to catch the progress text and the half-way point of step 5 on the way.
constexpr int kTickMs = 25;

}  // namespace

// A thread of its own, not a Qt timer: it fires even if the event loop is stuck.
class Autopilot::Watchdog {
 public:
  explicit Watchdog(int seconds)
      : thread_([this, seconds] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (cancel_.wait_for(lock, std::chrono::seconds(seconds), [this] { return cancelled_; })) return;
          std::fputs("AUTOPILOT: watchdog fired, giving up\n", stdout);
          std::fflush(stdout);
          std::_Exit(3);
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      cancelled_ = true;
    }
    cancel_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable cancel_;
  bool cancelled_ = false;
  std::thread thread_;  // last: it starts once the rest is there
};

namespace {

// The line with its digits taken out: two lines that differ only there are one counter.
std::string withoutDigits(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c < '0' || c > '9') out += c;
  return out;
}

}  // namespace

std::vector<std::string> ProgressLines::feed(const std::string& text, qint64 nowMs) {
  std::vector<std::string> now = splitLines(text);
  std::vector<std::string> out;
  for (std::size_t i = 0; i < now.size(); ++i) {
    if (i < shown_.size() && now[i] == shown_[i]) continue;
    const bool counting = i < shown_.size() && withoutDigits(now[i]) == withoutDigits(shown_[i]);
    if (counting && nowMs - lastPrintMs_ < kCountingLineEveryMs) {
      now[i] = shown_[i];  // held back: its next value is compared with the one printed
      continue;
    }
    out.push_back(now[i]);
    lastPrintMs_ = nowMs;
  }
  shown_ = std::move(now);
  return out;
}

Autopilot::Autopilot(Program& program, QString outDir, QString file)
    : program_(program), outDir_(std::move(outDir)), file_(std::move(file)) {
  print = [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  };
  tick_.setInterval(kTickMs);
  connect(&tick_, &QTimer::timeout, this, [this] { tick(); });
}

Autopilot::~Autopilot() {
  watchdog_.reset();
  program_.platform.setFileAnswer(std::nullopt);
}

void Autopilot::say(const char* tag, const std::string& text) { print(std::string(tag) + ": " + text); }

void Autopilot::start() {
  watchdog_ = std::make_unique<Watchdog>(kWatchdogSeconds);
  QDir().mkpath(outDir_);
  program_.platform.setFileAnswer(file_.toStdString());
  stalled_.start();
  clock_.start();
  tick_.start();
}

int Autopilot::exitCode() const { return finished_ && !failed_ && messages_ == 0 ? 0 : 1; }

QString Autopilot::langTag() const { return gLangId == kLangJapanese ? "ja" : "en"; }

void Autopilot::fail(const std::string& why) {
  say("AUTOPILOT", why);
  failed_ = true;
  tick_.stop();
  QCoreApplication::exit(1);
}

void Autopilot::save(QWidget* w, const QString& name) {
  const QString path = QDir(outDir_).filePath(name);
  if (w->grab().save(path)) say("SAVED", path.toStdString());
  else say("AUTOPILOT", "could not save " + path.toStdString());
}

void Autopilot::click(QPushButton* button) {
  program_.platform.mirrorAll();  // the widget's enabled state follows the model
  clickPending_ = true;
  // From a timer of its own: a step runs nested inside the click, and this timer keeps
  // ticking meanwhile only if its own slot has returned.
  QTimer::singleShot(0, this, [this, button] {
    button->click();
    clickPending_ = false;
    stalled_.restart();
  });
}

bool Autopilot::handleModal() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && qobject_cast<QMessageBox*>(w)) modal = w;
  }
  if (!modal) return false;
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    ++messages_;
    for (const std::string& line : splitLines(box->text().toStdString())) say("MESSAGE", line);
    save(box, QString("message-%1-%2.png").arg(messages_).arg(langTag()));
    box->accept();
    if (messages_ >= kMaxMessages) fail("giving up after " + std::to_string(messages_) + " messages");
  } else {
    say("AUTOPILOT", "closing an unexpected dialog: " + modal->objectName().toStdString());
    modal->close();
  }
  return true;
}

void Autopilot::reportProgress() {
  for (int k = 0; k < int(frmMain.lblProcess.size()); ++k) {
    if (frmMain.lblProcess[std::size_t(k)].bold && k != printedStep_) {
      printedStep_ = k;
      say("STEP", frmMain.lblProcess[std::size_t(k)].caption);
    }
  }
  for (const std::string& line : progress_.feed(frmMain.txtProcess.text, clock_.elapsed())) say("PROGRESS", line);
}

void Autopilot::maybeMidStepShot() {
  if (midShotTaken_ || gStep != kStepFirmwareUpdate || !frmMain.stepRunning) return;
  const auto& bar = frmMain.prgProcess;
  if (bar.max <= bar.min || (bar.value - bar.min) * 2 < bar.max - bar.min) return;
  // Half way through writing, not through reading the file or verifying.
  const std::vector<std::string> lines = splitLines(frmMain.txtProcess.text);
  if (lines.empty() || lines.back().rfind(pick(kWriteTexts.block), 0) != 0) return;
  midShotTaken_ = true;
  program_.platform.mirrorAll();
  save(&program_.window, "step5-mid-" + langTag() + ".png");
}

void Autopilot::tick() {
  if (handleModal()) return;
  reportProgress();
  maybeMidStepShot();
  if (clickPending_ || frmMain.stepRunning || finished_) return;

  auto* fileSel = program_.window.findChild<QPushButton*>("cmdFWFileSel");
  auto* next = program_.window.findChild<QPushButton*>("cmdNext");
  if (!fileSel || !next) {
    fail("the window has no cmdFWFileSel/cmdNext button");
    return;
  }
  if (!fileChosen_) {
    fileChosen_ = true;
    needShot_ = true;
    click(fileSel);
    return;
  }
  if (needShot_) {
    needShot_ = false;
    program_.platform.mirrorAll();
    save(&program_.window, QString("step%1-%2.png").arg(int(gStep) + 1).arg(langTag()));
    return;
  }
  if (!frmMain.cmdNext.enabled) {
    // After a message nothing else is going to enable Next (a file that is no update file).
    if (messages_ > 0 || stalled_.elapsed() > kStallMs)
      fail("Next stays disabled at step " + std::to_string(int(gStep) + 1));
    return;
  }
  if (gStep == kStepEnd) {
    finished_ = true;
    say("AUTOPILOT", messages_ == 0 ? "done" : "done, with " + std::to_string(messages_) + " message(s)");
  }
  needShot_ = true;
  printedStep_ = -1;  // name the step shown afterwards even when a failure went back to this one
  click(next);
}

}  // namespace vq::ui
