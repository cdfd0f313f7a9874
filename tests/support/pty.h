// The master side of a pseudo-terminal, not blocking; the port under test opens the slave.
#pragma once
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QString>

namespace vq::test {

struct PtyMaster {
  int master = -1;
  QString slave;  // empty when no pseudo-terminal could be had

  PtyMaster() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0) slave = QString::fromLocal8Bit(::ptsname(master));
    ::fcntl(master, F_SETFL, O_NONBLOCK);
  }
  PtyMaster(const PtyMaster&) = delete;
  PtyMaster& operator=(const PtyMaster&) = delete;
  ~PtyMaster() { closeMaster(); }

  void closeMaster() {
    if (master >= 0) ::close(master);
    master = -1;
  }
};

}  // namespace vq::test
