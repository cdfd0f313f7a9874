// tmrComm over a precise QTimer (the coarse timer fires up to 5 ms early on a 10 ms interval).
#pragma once
#include <QObject>
#include <QTimer>

#include "platform/platform.h"

namespace vq::qt {

class QtTimer : public QObject, public Timer {
  Q_OBJECT
 public:
  explicit QtTimer(QObject* parent = nullptr);
  void setInterval(int ms) override;
  int interval() const override { return interval_; }
  void setEnabled(bool on) override;
  bool enabled() const override { return enabled_; }

 private:
  void arm();
  QTimer timer_;
  int interval_ = 0;
  bool enabled_ = false;
};

}  // namespace vq::qt
