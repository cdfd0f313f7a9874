#include "platform/native/comm_timer.h"

namespace vq::native {

CommTimer::CommTimer(EventLoop& loop)
    : timer_(loop.timer(false, [this] {
        if (onTick) onTick();
      })) {}

void CommTimer::setInterval(int ms) {
  interval_ = ms;
  if (enabled_) arm();
}

void CommTimer::setEnabled(bool on) {
  enabled_ = on;
  arm();
}

void CommTimer::arm() {
  // start() restarts a running timer; an interval of 0 means "never" for a window timer.
  if (enabled_ && interval_ > 0) timer_->start(interval_);
  else timer_->stop();
}

}  // namespace vq::native
