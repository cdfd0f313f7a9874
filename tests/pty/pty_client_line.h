// Line settings on a pty slave as the program sets them on a serial port, 307200 included.
#pragma once

namespace vq::sim::testing {

// Raw mode, 8 data bits, the given rate (any integer, through termios2), parity N/O/E/M/S and
// one or two stop bits. False when the ioctl fails.
bool setClientLine(int fd, int baud, char parity, bool twoStop = false);
// Makes the slave cooked again (echo, canonical), as a program restoring a fresh tty would.
bool setClientCooked(int fd);
bool clientEchoOn(int fd);

}  // namespace vq::sim::testing
