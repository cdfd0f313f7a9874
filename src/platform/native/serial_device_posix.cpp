// The serial device on Linux: termios2 for any rate (BOTHER) and stick parity (CMSPAR), the
// modem lines through TIOCM*, exclusive use through TIOCEXCL and the lock file other serial
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

#include "platform/native/serial_device.h"

namespace vq::native {

namespace {

// Where serial programs (minicom, screen, Qt's) leave their lock files.
constexpr const char* kLockDir = "/var/lock";
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

bool processAlive(long pid) { return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM); }

}  // namespace

struct SerialDevice::Saved {
  termios2 line{};
};

SerialDevice::SerialDevice() = default;
SerialDevice::~SerialDevice() { close(); }

bool SerialDevice::isOpen() const { return fd_ >= 0; }
Waitable SerialDevice::waitable() const { return fd_; }

std::string SerialDevice::lockFileName(const std::string& devicePath) {
  char real[PATH_MAX];
  std::string name = ::realpath(devicePath.c_str(), real) ? std::string(real) : devicePath;
  if (name.rfind("/dev/", 0) == 0) name = name.substr(5);
  else name = name.substr(name.find_last_of('/') + 1);
  for (char& c : name)
    if (c == '/') c = '_';
  return "LCK.." + name;
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

  // The lock file stops a second opener that TIOCEXCL does not (root); a lock whose process
  // is gone is stale and taken over. A lock folder this user cannot write: TIOCEXCL alone.
  const std::string lock = std::string(kLockDir) + "/" + lockFileName(path);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int lfd = ::open(lock.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, kLockMode);
    if (lfd >= 0) {
      char text[16];
      const int n = std::snprintf(text, sizeof text, "%10ld\n", long(::getpid()));
      const bool written = ::write(lfd, text, std::size_t(n)) == n;
      ::close(lfd);
      if (written) lockPath_ = lock;
      else ::unlink(lock.c_str());
      break;
    }
    if (errno != EEXIST) break;
    if (const long pid = lockPid(lock); processAlive(pid)) {
      ::close(fd);
      why = path + ": locked by process " + std::to_string(pid) + " (" + lock + ")";
      return OpenResult::Refused;
    }
    ::unlink(lock.c_str());
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
  if (!lockPath_.empty()) {
    // Only our own lock: a stale-lock take-over by another program may have replaced it.
    if (lockPid(lockPath_) == long(::getpid())) ::unlink(lockPath_.c_str());
    lockPath_.clear();
  }
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
