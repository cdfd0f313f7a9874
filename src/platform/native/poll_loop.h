// The event loop of a program without Qt: one wait over the watched sources (poll(2) on POSIX
// systems, WaitForMultipleObjects on Windows), bounded by the nearest timer. Single-threaded;
// handlers may add or remove watches and timers.
#pragma once
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "platform/native/event_loop.h"

namespace vq::native {

class PollLoop : public EventLoop {
 public:
  using Clock = std::chrono::steady_clock;

  // On Windows the loop holds the system timer at 1 ms while it lives (15.6 ms otherwise).
  PollLoop();
  ~PollLoop() override;
  PollLoop(const PollLoop&) = delete;
  PollLoop& operator=(const PollLoop&) = delete;

  std::unique_ptr<IoWatch> watch(Waitable source, std::function<void()> onReadable,
                                 std::function<void()> onWritable) override;
  std::unique_ptr<LoopTimer> timer(bool singleShot, std::function<void()> onFire) override;

  // Runs the handlers of what is ready now; with wait, first blocks until something is.
  // Returns the number of handlers run (with wait at least one, unless nothing is watched or
  // armed at all: then it returns 0 at once rather than sleep for ever).
  int runOnce(bool wait);

#ifdef _WIN32
  // The window's loop (src/win32ui): the wait also ends when a message arrives in the thread's
  // queue, and runOnce(true) then returns, with 0 when no handler ran, for the caller to pump
  // the messages. Off for vq-update-cli, whose thread has no window.
  void setWakeOnMessages(bool on) { wakeOnMessages_ = on; }
  // What the wait would watch now: the handles of the watches switched on, and the time to
  // the nearest armed timer in microseconds (< 0: none), for a wait made elsewhere.
  int waitSet(std::vector<void*>& handles) const;
#endif

  struct Watch;
  struct Timer;

 private:
  struct Ready {
    Watch* watch;
    bool readable;
    bool writable;
  };
  int dispatch(int timeoutUs);
  // The system's wait: up to timeoutUs (< 0: unbounded) for the sources of the watches that are
  // switched on; what is ready. One file per system.
  std::vector<Ready> waitReady(int timeoutUs);

  int timeToNextTimerUs() const;

  std::vector<Watch*> watches_;
  std::vector<Timer*> timers_;
  bool wakeOnMessages_ = false;
  bool messageArrived_ = false;  // the last wait ended on a message
  friend struct Watch;
  friend struct Timer;
};

// A handle is its own record in the loop's list and leaves the list when it goes; a dispatch
// looks each one up again before calling it, since any handler may end any watch or timer.
struct PollLoop::Watch : IoWatch {
  PollLoop* loop;
  Waitable source;
  std::function<void()> onReadable, onWritable;
  bool read = true;
  bool write = false;
  Watch(PollLoop* l, Waitable s, std::function<void()> r, std::function<void()> w)
      : loop(l), source(s), onReadable(std::move(r)), onWritable(std::move(w)) {}
  ~Watch() override {
    auto& v = loop->watches_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  void setReadEnabled(bool on) override { read = on; }
  void setWriteEnabled(bool on) override { write = on; }
};

}  // namespace vq::native
