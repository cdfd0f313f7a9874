#include "pty_termios2.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vq::sim {

bool readPtyLine(int fd, PtyLineFlags& out) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  out.baud = int(t.c_ospeed);
  out.parOdd = (t.c_cflag & PARODD) != 0;
  out.cmspar = (t.c_cflag & CMSPAR) != 0;
  out.twoStop = (t.c_cflag & CSTOPB) != 0;
  return true;
}

}  // namespace vq::sim
