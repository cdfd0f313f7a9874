// The serial device on Linux: termios2 for any rate (BOTHER) and stick parity (CMSPAR), the
// modem lines through TIOCM*, exclusive use through TIOCEXCL and the lock files other serial
// programs honour. <asm/termbits.h> clashes with <termios.h>, so this file uses the ioctls
// alone (TCSBRK is tcdrain, TCFLSH tcflush).
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/native/serial_device.h"

namespace vq::native {

namespace {

constexpr mode_t kLockMode = 0644;

std::string errnoText(int e) { return std::strerror(e); }

tcflag_t dataBitsFlag(int bits) {
  switch (bits) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

tcflag_t parityFlags(char parity) {
  switch (parity) {
    case 'O': return PARENB | PARODD;
    case 'E': return PARENB;
    case 'M': return PARENB | PARODD | CMSPAR;
    case 'S': return PARENB | CMSPAR;
    default: return 0;
  }
}

// The pid in a lock file (ASCII, as the convention writes it); 0 when none can be read.
long lockPid(const std::string& path) {
  std::ifstream in(path);
  long pid = 0;
  in >> pid;
  return in ? pid : 0;
}

bool processAlive(long pid) { return pid > 0 && pid <= INT_MAX && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

// "LCK.." and the path as the convention names it: without a leading root/, '/' made '_'.
std::string lockNameOf(const std::string& path, const std::string& devRoot) {
  const std::string prefix = devRoot + "/";
  std::string name = path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
  for (char& c : name)
    if (c == '/') c = '_';
  return "LCK.." + name;
}

enum class LockTake {
  Taken,    // the file is ours now
  Held,     // a live process's (its pid in holder)
  Skipped,  // the folder would not have it (this user may not write there): TIOCEXCL alone
};

// Creates the lock file with this process's pid; a lock whose process is gone is stale and
// taken over.
LockTake takeLock(const std::string& lock, long& holder) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int lfd = ::open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kLockMode);
    if (lfd >= 0) {
      char text[16];
      const int n = std::snprintf(text, sizeof text, "%10ld\n", long(::getpid()));
      const bool written = ::write(lfd, text, std::size_t(n)) == n;
      ::close(lfd);
      if (written) return LockTake::Taken;
      ::unlink(lock.c_str());
      return LockTake::Skipped;
    }
    if (errno != EEXIST) return LockTake::Skipped;
    if (const long pid = lockPid(lock); processAlive(pid)) {
      holder = pid;
      return LockTake::Held;
    }
    ::unlink(lock.c_str());
  }
  return LockTake::Skipped;
}

// Removes the lock files taken, each only while it still holds our pid: a stale-lock
// take-over by another program may have replaced it.
void releaseLocks(std::vector<std::string>& locks) {
  for (const std::string& lock : locks)
    if (lockPid(lock) == long(::getpid())) ::unlink(lock.c_str());
  locks.clear();
}

}  // namespace

struct SerialDevice::Saved {
  termios2 line{};
};

SerialDevice::SerialDevice() = default;
SerialDevice::~SerialDevice() { close(); }

bool SerialDevice::isOpen() const { return fd_ >= 0; }
Waitable SerialDevice::waitable() const { return fd_; }

std::vector<std::string> SerialDevice::lockFileNames(const std::string& devicePath, const std::string& devRoot) {
  char real[PATH_MAX];
  const std::string resolved = ::realpath(devicePath.c_str(), real) ? std::string(real) : devicePath;
  const std::string realRoot = ::realpath(devRoot.c_str(), real) ? std::string(real) : devRoot;
  std::vector<std::string> names{lockNameOf(devicePath, devRoot)};
  if (std::string name = lockNameOf(resolved, realRoot); name != names.front()) names.push_back(std::move(name));
  return names;
}

SerialDevice::OpenResult SerialDevice::open(const std::string& path, const LineSettings& line, int handshaking,
                                            std::string& why) {
  close();
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    why = path + ": " + errnoText(e);
    if (e == ENOENT || e == ENODEV || e == ENXIO) return OpenResult::NoDevice;
    if (e == EACCES || e == EPERM || e == EBUSY) return OpenResult::Refused;
    return OpenResult::Failed;
  }

  // The lock files stop a second opener that TIOCEXCL does not (root), by whichever of the
  // device's names it goes; a live holder of either refuses the open (the locks taken before
  // it given back), a stale one is taken over.
  for (const std::string& name : lockFileNames(path)) {
    const std::string lock = lockDir_ + "/" + name;
    long holder = 0;
    switch (takeLock(lock, holder)) {
      case LockTake::Taken: lockPaths_.push_back(lock); break;
      case LockTake::Skipped: break;
      case LockTake::Held:
        releaseLocks(lockPaths_);
        ::close(fd);
        why = path + ": locked by process " + std::to_string(holder) + " (" + lock + ")";
        return OpenResult::Refused;
    }
  }
  fd_ = fd;

  ::ioctl(fd_, TIOCEXCL);
  saved_ = std::make_unique<Saved>();
  if (::ioctl(fd_, TCGETS2, &saved_->line) != 0) {
    why = path + ": not a serial device: " + errnoText(errno);
    saved_.reset();
    close();
    return OpenResult::Failed;
  }
  if (!apply(line, handshaking, why)) {
    why = path + ": " + why;
    close();
    return OpenResult::Failed;
  }
  lowLatency_.enable(fd_);
  // The protocols pause 1 ms before each frame and tick every 10 ms: the kernel's default
  // 50 us of timer slack would add to every one of a flash's thousand pauses.
  ::prctl(PR_SET_TIMERSLACK, 1UL);
  return OpenResult::Opened;
}

void SerialDevice::close() {
  if (fd_ >= 0) {
    lowLatency_.restore(fd_);
    if (saved_) ::ioctl(fd_, TCSETS2, &saved_->line);
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
  }
  saved_.reset();
  releaseLocks(lockPaths_);
}

bool SerialDevice::apply(const LineSettings& s, int handshaking, std::string& why) {
  termios2 t{};
  if (::ioctl(fd_, TCGETS2, &t) != 0) {
    why = errnoText(errno);
    return false;
  }
  // Raw: no echo, no line editing, no translation, no signals.
  t.c_iflag &= ~tcflag_t(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY | INPCK);
  t.c_oflag &= ~tcflag_t(OPOST);
  t.c_lflag &= ~tcflag_t(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  t.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS | CBAUD | (CBAUD << IBSHIFT));
  t.c_cflag |= CREAD | CLOCAL | BOTHER | dataBitsFlag(s.dataBits) | parityFlags(s.parity);
  if (s.stopBitsTimes2 == 4) t.c_cflag |= CSTOPB;
  if (handshaking >= 2) t.c_cflag |= CRTSCTS;
  if (handshaking == 1 || handshaking == 3) t.c_iflag |= IXON | IXOFF;
  // CIBAUD left 0: input at the output rate.
  t.c_ospeed = t.c_ispeed = speed_t(s.baud);
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  if (::ioctl(fd_, TCSETS2, &t) != 0) {
    why = errnoText(errno);
    return false;
  }
  return true;
}

std::optional<std::size_t> SerialDevice::read(std::uint8_t* buf, std::size_t size, std::string& why) {
  for (;;) {
    const ssize_t n = ::read(fd_, buf, size);
    if (n > 0) return std::size_t(n);
    if (n == 0) {
      why = "the device hung up";
      return std::nullopt;
    }
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    why = errnoText(errno);
    return std::nullopt;
  }
}

std::optional<std::size_t> SerialDevice::write(const std::uint8_t* data, std::size_t size, std::string& why) {
  for (;;) {
    const ssize_t n = ::write(fd_, data, size);
    if (n >= 0) return std::size_t(n);
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    why = errnoText(errno);
    return std::nullopt;
  }
}

void SerialDevice::drain() {
  if (fd_ >= 0) ::ioctl(fd_, TCSBRK, 1);
}

bool SerialDevice::waitWritable(int ms) const {
  pollfd p{fd_, POLLOUT, 0};
  return fd_ >= 0 && ::poll(&p, 1, ms) == 1 && (p.revents & POLLOUT);
}

void SerialDevice::discardInput() {
  if (fd_ >= 0) ::ioctl(fd_, TCFLSH, TCIFLUSH);
}

void SerialDevice::discardOutput() {
  if (fd_ >= 0) ::ioctl(fd_, TCFLSH, TCOFLUSH);
}

bool SerialDevice::hungUp() const {
  if (fd_ < 0) return false;
  pollfd p{fd_, 0, 0};
  return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
}

std::optional<SerialDevice::ModemLines> SerialDevice::modemLines() const {
  int bits = 0;
  if (fd_ < 0 || ::ioctl(fd_, TIOCMGET, &bits) != 0) return std::nullopt;
  return ModemLines{(bits & TIOCM_CTS) != 0, (bits & TIOCM_DSR) != 0};
}

bool SerialDevice::setRts(bool on) {
  const int bit = TIOCM_RTS;
  return fd_ >= 0 && ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

bool SerialDevice::setDtr(bool on) {
  const int bit = TIOCM_DTR;
  return fd_ >= 0 && ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

}  // namespace vq::native
