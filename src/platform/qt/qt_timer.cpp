#include "platform/qt/qt_timer.h"

#include <QDebug>

namespace vq::qt {

QtTimer::QtTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (!onTick) return;
    try {
      onTick();
    } catch (const std::exception& ex) {
      qWarning("timer handler failed: %s", ex.what());
    }
  });
}

void QtTimer::setInterval(int ms) {
  interval_ = ms;
  if (enabled_) arm();
}

void QtTimer::setEnabled(bool on) {
  enabled_ = on;
  arm();
}

void QtTimer::arm() {
  // start() restarts a running timer; an interval of 0 means "never" for a window timer.
  if (enabled_ && interval_ > 0) timer_.start(interval_);
  else timer_.stop();
}

}  // namespace vq::qt
