#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "cli/console_io.h"

namespace vq::cli {

void prepareConsole() {}

bool isTerminal(std::FILE* f) { return ::isatty(fileno(f)) == 1; }

int terminalColumns(std::FILE* f, int fallback) {
  winsize ws{};
  if (::ioctl(fileno(f), TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
  return fallback;
}

InputWait waitForLine(InterruptWatch& interrupts) {
  pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {interrupts.waitable().fd, POLLIN, 0}};
  for (;;) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return InputWait::Closed;
    }
    if ((fds[1].revents & POLLIN) && interrupts.take() > 0) return InputWait::Interrupted;
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      char c = 0;
      const ssize_t n = ::read(STDIN_FILENO, &c, 1);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return InputWait::Closed;
      if (c == '\n') return InputWait::Line;
    }
  }
}

}  // namespace vq::cli
