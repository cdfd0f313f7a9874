#include "platform/native/poll_loop.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace vq::native {

// A handle is its own record in the loop's list and leaves the list when it goes; a dispatch
// looks each one up again before calling it, since any handler may end any watch or timer.
struct PollLoop::Watch : IoWatch {
  PollLoop* loop;
  int fd;
  std::function<void()> onReadable, onWritable;
  bool read = true;
  bool write = false;
  Watch(PollLoop* l, int f, std::function<void()> r, std::function<void()> w)
      : loop(l), fd(f), onReadable(std::move(r)), onWritable(std::move(w)) {}
  ~Watch() override {
    auto& v = loop->watches_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  void setReadEnabled(bool on) override { read = on; }
  void setWriteEnabled(bool on) override { write = on; }
};

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

PollLoop::PollLoop() = default;
PollLoop::~PollLoop() = default;

std::unique_ptr<IoWatch> PollLoop::watch(int fd, std::function<void()> onReadable, std::function<void()> onWritable) {
  auto w = std::make_unique<Watch>(this, fd, std::move(onReadable), std::move(onWritable));
  watches_.push_back(w.get());
  return w;
}

std::unique_ptr<LoopTimer> PollLoop::timer(bool singleShot, std::function<void()> onFire) {
  auto t = std::make_unique<Timer>(this, singleShot, std::move(onFire));
  timers_.push_back(t.get());
  return t;
}

int PollLoop::runOnce(bool wait) {
  if (!wait) return dispatch(0);
  for (;;) {
    const bool anyTimer = std::any_of(timers_.begin(), timers_.end(), [](const Timer* t) { return t->armed; });
    if (watches_.empty() && !anyTimer) return 0;
    int timeoutUs = -1;
    if (anyTimer) {
      auto next = Clock::time_point::max();
      for (const Timer* t : timers_)
        if (t->armed) next = std::min(next, t->due);
      const auto left = std::chrono::duration_cast<std::chrono::microseconds>(next - Clock::now()).count();
      timeoutUs = int(std::clamp<long long>(left, 0, 60'000'000));
    }
    if (const int n = dispatch(timeoutUs); n > 0) return n;
  }
}

int PollLoop::dispatch(int timeoutUs) {
  // Up to a few descriptors: the port, the Ctrl+C pipe.
  pollfd fds[8];
  Watch* owners[8];
  nfds_t n = 0;
  for (Watch* w : watches_) {
    // A watch switched off leaves the poll: a hung-up descriptor would wake it for ever.
    if (n == std::size(fds) || (!w->read && !w->write)) continue;
    fds[n] = {w->fd, short((w->read ? POLLIN : 0) | (w->write ? POLLOUT : 0)), 0};
    owners[n++] = w;
  }
  int ready;
  if (timeoutUs < 0) {
    ready = ::poll(fds, n, -1);
  } else {
    // ppoll for sub-millisecond time-outs: poll's millisecond would make a 1 ms pause 2 ms.
    const timespec ts{timeoutUs / 1'000'000, long(timeoutUs % 1'000'000) * 1000};
    ready = ::ppoll(fds, n, &ts, nullptr);
  }
  if (ready < 0 && errno != EINTR) return 0;

  int handled = 0;
  // A handler may end any watch or timer: look each one up again before running it.
  auto stillWatched = [this](Watch* w) { return std::find(watches_.begin(), watches_.end(), w) != watches_.end(); };
  for (nfds_t i = 0; ready > 0 && i < n; ++i) {
    const short ev = fds[i].revents;
    if (ev == 0) continue;
    if ((ev & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) && stillWatched(owners[i]) && owners[i]->read) {
      runGuarded(owners[i]->onReadable);
      ++handled;
    }
    if ((ev & POLLOUT) && stillWatched(owners[i]) && owners[i]->write) {
      runGuarded(owners[i]->onWritable);
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
