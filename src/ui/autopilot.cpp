#include "ui/autopilot.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "base/forms.h"
#include "ui/program.h"

namespace vq::ui {

Autopilot::Autopilot(Program& program, QString outDir, QString file)
    : program_(program), outDir_(std::move(outDir)), file_(std::move(file)) {
  tick_.setInterval(front::AutopilotPlan::kTickMs);
  connect(&tick_, &QTimer::timeout, this, [this] { tick(); });
}

Autopilot::~Autopilot() {
  watchdog_.reset();
  program_.platform.setFileAnswer(std::nullopt);
}

void Autopilot::start() {
  watchdog_ = std::make_unique<front::AutopilotWatchdog>();
  QDir().mkpath(outDir_);
  program_.platform.setFileAnswer(file_.toStdString());
  stalled_.start();
  clock_.start();
  tick_.start();
}

void Autopilot::stop() {
  tick_.stop();
  QCoreApplication::exit(1);
}

void Autopilot::save(QWidget* w, const std::string& name) {
  const QString path = QDir(outDir_).filePath(QString::fromStdString(name));
  plan_.saved(path.toStdString(), w->grab().save(path));
}

void Autopilot::click(const char* name) {
  auto* button = program_.window.findChild<QPushButton*>(name);
  if (!button) {
    plan_.giveUp(std::string("the window has no ") + name + " button");
    stop();
    return;
  }
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
    plan_.messageShown(box->text().toStdString());
    save(box, plan_.messageShotName());
    box->accept();
    if (plan_.tooManyMessages()) stop();
  } else {
    plan_.say("AUTOPILOT", "closing an unexpected dialog: " + modal->objectName().toStdString());
    modal->close();
  }
  return true;
}

void Autopilot::tick() {
  if (handleModal()) return;
  plan_.report(clock_.elapsed());
  if (plan_.midStepShotDue()) {
    program_.platform.mirrorAll();
    save(&program_.window, plan_.midShotName());
  }
  if (clickPending_) return;
  switch (plan_.next(frmMain.stepRunning, stalled_.elapsed())) {
    case front::AutopilotPlan::Action::Wait: return;
    case front::AutopilotPlan::Action::ChooseFile: click("cmdFWFileSel"); return;
    case front::AutopilotPlan::Action::Shoot:
      program_.platform.mirrorAll();
      save(&program_.window, plan_.stepShotName());
      return;
    case front::AutopilotPlan::Action::PressNext: click("cmdNext"); return;
    case front::AutopilotPlan::Action::GiveUp: stop(); return;
  }
}

}  // namespace vq::ui
