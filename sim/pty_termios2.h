// The line settings a program applied to the slave of a pseudo-terminal, read from the master.
// termios2 gives the real rate (307200 ...) where plain termios shows only BOTHER; its header
// clashes with <termios.h>, so it lives alone in pty_termios2.cpp.
#pragma once

namespace vq::sim {

struct PtyLineFlags {
  int baud = 0;          // c_ospeed
  bool parOdd = false;   // PARODD: odd, or mark with CMSPAR
  bool cmspar = false;   // CMSPAR: mark or space
  bool twoStop = false;  // CSTOPB
  bool operator==(const PtyLineFlags&) const = default;
};

// False when the ioctl fails.
bool readPtyLine(int fd, PtyLineFlags& out);

}  // namespace vq::sim
