// The event loop of a program without Qt: one poll(2) over the watched descriptors, bounded by
// the nearest timer. Single-threaded; handlers may add or remove watches and timers.
#pragma once
#include <chrono>
#include <memory>
#include <vector>

#include "platform/native/event_loop.h"

namespace vq::native {

class PollLoop : public EventLoop {
 public:
  using Clock = std::chrono::steady_clock;

  PollLoop();
  ~PollLoop() override;
  PollLoop(const PollLoop&) = delete;
  PollLoop& operator=(const PollLoop&) = delete;

  std::unique_ptr<IoWatch> watch(int fd, std::function<void()> onReadable,
                                 std::function<void()> onWritable) override;
  std::unique_ptr<LoopTimer> timer(bool singleShot, std::function<void()> onFire) override;

  // Runs the handlers of what is ready now; with wait, first blocks until something is.
  // Returns the number of handlers run (with wait at least one, unless nothing is watched or
  // armed at all: then it returns 0 at once rather than sleep for ever).
  int runOnce(bool wait);

  struct Watch;
  struct Timer;

 private:
  int dispatch(int timeoutUs);

  std::vector<Watch*> watches_;
  std::vector<Timer*> timers_;
  friend struct Watch;
  friend struct Timer;
};

}  // namespace vq::native
