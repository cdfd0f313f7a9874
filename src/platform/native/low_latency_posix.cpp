#include "platform/native/low_latency.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace vq::native {

LowLatency::Ops LowLatency::systemOps() {
  return {
      [](int fd, int& flags) {
        serial_struct s{};
        if (::ioctl(fd, TIOCGSERIAL, &s) != 0) return false;
        flags = s.flags;
        return true;
      },
      [](int fd, int flags) {
        serial_struct s{};
        if (::ioctl(fd, TIOCGSERIAL, &s) != 0) return false;
        s.flags = flags;
        return ::ioctl(fd, TIOCSSERIAL, &s) == 0;
      },
  };
}

bool LowLatency::enable(int fd) {
  saved_.reset();
  int flags = 0;
  if (!ops_.get || !ops_.get(fd, flags)) return false;
  if (flags & ASYNC_LOW_LATENCY) return true;  // already on: nothing to put back
  if (!ops_.set(fd, flags | ASYNC_LOW_LATENCY)) return false;
  saved_ = flags;
  return true;
}

void LowLatency::restore(int fd) {
  if (!saved_) return;
  ops_.set(fd, *saved_);
  saved_.reset();
}

}  // namespace vq::native
