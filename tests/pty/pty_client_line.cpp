// termios2 lives alone here: <asm/termbits.h> clashes with <termios.h>.
#include "pty_client_line.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace vq::sim::testing {

bool setClientLine(int fd, int baud, char parity, bool twoStop) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_iflag = 0;
  t.c_oflag = 0;
  t.c_lflag = 0;
  t.c_cflag &= ~(CBAUD | CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
  t.c_cflag |= BOTHER | CS8 | CREAD | CLOCAL;
  if (twoStop) t.c_cflag |= CSTOPB;
  switch (parity) {
    case 'O': t.c_cflag |= PARENB | PARODD; break;
    case 'E': t.c_cflag |= PARENB; break;
    case 'M': t.c_cflag |= PARENB | CMSPAR | PARODD; break;
    case 'S': t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  t.c_ispeed = t.c_ospeed = unsigned(baud);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  return ioctl(fd, TCSETS2, &t) == 0;
}

bool setClientCooked(int fd) {
  struct termios2 t {};
  if (ioctl(fd, TCGETS2, &t) != 0) return false;
  t.c_lflag |= ECHO | ICANON | ISIG | IEXTEN;
  t.c_oflag |= OPOST;
  t.c_iflag |= ICRNL;
  return ioctl(fd, TCSETS2, &t) == 0;
}

bool clientEchoOn(int fd) {
  struct termios2 t {};
  ioctl(fd, TCGETS2, &t);
  return (t.c_lflag & ECHO) != 0;
}

}  // namespace vq::sim::testing
