#include "platform/native/poll_loop.h"

#include <algorithm>

namespace vq::native {

struct PollLoop::Timer : LoopTimer {
  PollLoop* loop;
  bool singleShot;
  std::function<void()> onFire;
  bool armed = false;
  std::chrono::microseconds interval{0};
  Clock::time_point due{};
  Timer(PollLoop* l, bool s, std::function<void()> f) : loop(l), singleShot(s), onFire(std::move(f)) {}
  ~Timer() override {
    auto& v = loop->timers_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  void start(int ms) override {
    interval = std::chrono::milliseconds(std::max(ms, 0));
    due = Clock::now() + interval;
    armed = true;
  }
  void stop() override { armed = false; }
  bool active() const override { return armed; }
};

std::unique_ptr<IoWatch> PollLoop::watch(Waitable source, std::function<void()> onReadable,
                                         std::function<void()> onWritable) {
  auto w = std::make_unique<Watch>(this, source, std::move(onReadable), std::move(onWritable));
  watches_.push_back(w.get());
  return w;
}

std::unique_ptr<LoopTimer> PollLoop::timer(bool singleShot, std::function<void()> onFire) {
  auto t = std::make_unique<Timer>(this, singleShot, std::move(onFire));
  timers_.push_back(t.get());
  return t;
}

int PollLoop::timeToNextTimerUs() const {
  auto next = Clock::time_point::max();
  for (const Timer* t : timers_)
    if (t->armed) next = std::min(next, t->due);
  if (next == Clock::time_point::max()) return -1;
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(next - Clock::now()).count();
  return int(std::clamp<long long>(left, 0, 60'000'000));
}

int PollLoop::runOnce(bool wait) {
  if (!wait) return dispatch(0);
  for (;;) {
    const int timeoutUs = timeToNextTimerUs();
    if (watches_.empty() && timeoutUs < 0 && !wakeOnMessages_) return 0;
    messageArrived_ = false;
    if (const int n = dispatch(timeoutUs); n > 0 || messageArrived_) return n;
  }
}

int PollLoop::dispatch(int timeoutUs) {
  const std::vector<Ready> ready = waitReady(timeoutUs);
  int handled = 0;
  // A handler may end any watch or timer: look each one up again before running it.
  auto stillWatched = [this](Watch* w) { return std::find(watches_.begin(), watches_.end(), w) != watches_.end(); };
  for (const Ready& r : ready) {
    if (r.readable && stillWatched(r.watch) && r.watch->read) {
      runGuarded(r.watch->onReadable);
      ++handled;
    }
    if (r.writable && stillWatched(r.watch) && r.watch->write) {
      runGuarded(r.watch->onWritable);
      ++handled;
    }
  }

  const auto now = Clock::now();
  std::vector<Timer*> due;
  for (Timer* t : timers_)
    if (t->armed && t->due <= now) due.push_back(t);
  for (Timer* t : due) {
    if (std::find(timers_.begin(), timers_.end(), t) == timers_.end() || !t->armed || t->due > now) continue;
    if (t->singleShot) {
      t->armed = false;
    } else {
      // The next tick keeps the beat, unless the loop fell a whole interval behind.
      t->due += std::max(t->interval, std::chrono::microseconds(1));
      if (t->due <= now) t->due = now + t->interval;
    }
    runGuarded(t->onFire);
    ++handled;
  }
  return handled;
}

}  // namespace vq::native
