// tmrComm on an event loop's timer: the native loop's or, in the window, Qt's precise timer
// (Qt's coarse timer fires up to 5 ms early on a 10 ms interval).
#pragma once
#include <memory>

#include "platform/native/event_loop.h"
#include "platform/platform.h"

namespace vq::native {

class CommTimer : public Timer {
 public:
  explicit CommTimer(EventLoop& loop);
  void setInterval(int ms) override;
  int interval() const override { return interval_; }
  void setEnabled(bool on) override;
  bool enabled() const override { return enabled_; }

 private:
  void arm();
  std::unique_ptr<LoopTimer> timer_;
  int interval_ = 0;
  bool enabled_ = false;
};

}  // namespace vq::native
