#include "platform/qt/termios2_flags.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vq::qt {

bool addXonXoff(int fd) {
  termios2 t{};
  if (::ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_iflag |= IXON | IXOFF;
  return ::ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace vq::qt
