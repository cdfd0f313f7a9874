#include "cli/interrupt_watch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace vq::cli {

namespace {

int gPipe[2] = {-1, -1};

extern "C" void onSigint(int) {
  const int saved = errno;
  const char b = 1;
  const ssize_t ignored = ::write(gPipe[1], &b, 1);
  (void)ignored;
  errno = saved;
}

}  // namespace

InterruptWatch::InterruptWatch(native::EventLoop& loop) {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction sa {};
  sa.sa_handler = onSigint;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &sa, nullptr);
  watch_ = loop.watch(gPipe[0], [this] {
    for (int n = take(); n > 0; --n)
      if (onInterrupt) onInterrupt();
  }, nullptr);
}

InterruptWatch::~InterruptWatch() {
  watch_.reset();
  // Only the exit is left: a Ctrl+C now must not turn a finished update into a killed one.
  std::signal(SIGINT, SIG_IGN);
  for (int& fd : gPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

native::Waitable InterruptWatch::waitable() const { return gPipe[0]; }

int InterruptWatch::take() {
  int n = 0;
  char buf[16];
  for (ssize_t r; (r = ::read(gPipe[0], buf, sizeof buf)) > 0;) n += int(r);
  return n;
}

}  // namespace vq::cli
