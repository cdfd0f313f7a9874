#include <poll.h>

#include <cerrno>
#include <ctime>
#include <iterator>

#include "platform/native/poll_loop.h"

namespace vq::native {

PollLoop::PollLoop() = default;
PollLoop::~PollLoop() = default;

std::vector<PollLoop::Ready> PollLoop::waitReady(int timeoutUs) {
  // Up to a few descriptors: the port, the Ctrl+C pipe.
  pollfd fds[8];
  Watch* owners[8];
  nfds_t n = 0;
  for (Watch* w : watches_) {
    // A watch switched off leaves the poll: a hung-up descriptor would wake it for ever.
    if (n == std::size(fds) || (!w->read && !w->write)) continue;
    fds[n] = {w->source.fd, short((w->read ? POLLIN : 0) | (w->write ? POLLOUT : 0)), 0};
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
  std::vector<Ready> out;
  for (nfds_t i = 0; ready > 0 && i < n; ++i) {
    const short ev = fds[i].revents;
    if (ev == 0) continue;
    out.push_back({owners[i], (ev & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) != 0, (ev & POLLOUT) != 0});
  }
  return out;
}

}  // namespace vq::native
