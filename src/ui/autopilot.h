// The autopilot in the Qt window: walks the wizard by itself, as an operator would, for the
// demo without a display (vq-update --autopilot DIR --file PATH). Its decisions and report are
// front::AutopilotPlan's; here are the toolkit's actions: finding the buttons, clicking,
// closing message boxes and grabbing PNGs.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>

#include "front/autopilot_plan.h"

class QWidget;

namespace vq::ui {

class Program;

class Autopilot : public QObject {
 public:
  Autopilot(Program& program, QString outDir, QString file);
  ~Autopilot() override;

  // Arms the watchdog and starts driving the wizard from the event loop.
  void start();
  int exitCode() const { return plan_.exitCode(); }

  front::AutopilotPlan plan_;

 private:
  void tick();
  // Returns true when a modal window was found (and dealt with).
  bool handleModal();
  void click(const char* button);
  void save(QWidget* w, const std::string& name);
  void stop();

  std::unique_ptr<front::AutopilotWatchdog> watchdog_;
  Program& program_;
  QString outDir_;
  QString file_;
  QTimer tick_;
  QElapsedTimer stalled_;
  QElapsedTimer clock_;
  bool clickPending_ = false;  // a click runs, maybe with a step nested inside it
};

}  // namespace vq::ui
