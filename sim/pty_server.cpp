#include "pty_server.h"

#include "base/sha256.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace vq::sim {
namespace {

volatile sig_atomic_t gStopSignal = 0;
void onStopSignal(int) { gStopSignal = 1; }

// While the program has the port open, settings are sampled this often, so a change followed by
// a write is seen before the write; bytes read right after a change may belong to either side.
constexpr std::int64_t kSampleUs = 2'000;
// A reply whose first byte leaves more than this after its planned time is counted late:
// the simulator, not the program, kept it (starved of the processor).
constexpr std::int64_t kLateReplyUs = 2000;
// Paced bytes are served this many µs of line time at once: a wake for each byte (every 65 µs
// at 153600 baud) cost the simulator over thirty times the processor of the program it serves.
constexpr std::int64_t kByteBatchUs = 1'000;
// With the slave closed the master reports POLLHUP at once: look again after this pause.
constexpr std::int64_t kClosedPollUs = 5'000;

std::string trim(const std::string& s) {
  auto a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  auto b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

void writeAll(int fd, const std::string& s) {
  std::size_t off = 0;
  while (off < s.size()) {
    ssize_t n = ::write(fd, s.data() + off, s.size() - off);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      pollfd p{fd, POLLOUT, 0};
      ::poll(&p, 1, 100);
      continue;
    }
    if (n <= 0) return;
    off += std::size_t(n);
  }
}

}  // namespace

PtyServer::PtyServer(VqDevice& dev, PtyServerOptions opt) : dev_(dev), opt_(std::move(opt)) {
  t0_ = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

PtyServer::~PtyServer() {
  for (auto& c : clients_) ::close(c.fd);
  if (listen_ >= 0) {
    ::close(listen_);
    ::unlink(opt_.controlPath.c_str());
  }
  if (!opt_.linkPath.empty()) ::unlink(opt_.linkPath.c_str());
  if (master_ >= 0) ::close(master_);
}

std::int64_t PtyServer::nowUs() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch()).count() - t0_;
}

// A fresh pseudo-terminal behind the link path: at start, and when the cable is plugged back in.
bool PtyServer::openPty(std::string& error) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  char name[128];
  if (::ptsname_r(master_, name, sizeof name) != 0) {
    error = "ptsname failed";
    return false;
  }
  slavePath_ = name;
  // Raw, and at a rate nobody uses, so bytes written before the program applies its own
  // settings never match what the device expects.
  termios t{};
  ::tcgetattr(master_, &t);
  ::cfmakeraw(&t);
  t.c_cflag &= ~tcflag_t(PARODD | CMSPAR | CSTOPB);
  ::cfsetispeed(&t, B50);
  ::cfsetospeed(&t, B50);
  ::tcsetattr(master_, TCSANOW, &t);
  readPtyLine(master_, flags_);
  prevFlags_ = flags_;

  if (!opt_.linkPath.empty()) {
    struct stat st {};
    if (::lstat(opt_.linkPath.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) ::unlink(opt_.linkPath.c_str());
    if (::symlink(slavePath_.c_str(), opt_.linkPath.c_str()) != 0) {
      error = "cannot make the link " + opt_.linkPath + ": " + std::strerror(errno);
      opt_.linkPath.clear();
      return false;
    }
  }
  return true;
}

bool PtyServer::start(std::string& error) {
  if (!openPty(error)) return false;
  if (!opt_.controlPath.empty()) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (opt_.controlPath.size() >= sizeof addr.sun_path) {
      error = "control socket path too long";
      return false;
    }
    std::strcpy(addr.sun_path, opt_.controlPath.c_str());
    ::unlink(opt_.controlPath.c_str());
    listen_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(listen_, 8) != 0) {
      error = "cannot listen on " + opt_.controlPath + ": " + std::strerror(errno);
      return false;
    }
  }
  dev_.attach(this);
  return true;
}

// ---- time ----

void PtyServer::after(std::int64_t delayUs, std::function<void()> fn) {
  timers_.emplace(nowUs() + std::max<std::int64_t>(0, delayUs), std::move(fn));
}

std::int64_t PtyServer::nextDueUs() const {
  std::int64_t due = LLONG_MAX;
  if (!timers_.empty()) due = std::min(due, timers_.begin()->first);
  // The first byte after a pause and the last one queued are served on time (a reply waits on
  // the last byte of a request), the ones between a batch at a time.
  auto byteDue = [this](std::int64_t first, std::int64_t last) {
    return std::min(std::max(first, lastByteWakeUs_ + kByteBatchUs), last);
  };
  if (!in_.empty()) due = std::min(due, byteDue(in_.front().atUs, in_.back().atUs));
  if (!out_.empty()) due = std::min(due, byteDue(out_.front().atUs, out_.back().atUs));
  return due;
}

void PtyServer::runDue() {
  for (;;) {
    const std::int64_t now = nowUs();
    bool did = false;
    if (!timers_.empty() && timers_.begin()->first <= now) {
      auto fn = std::move(timers_.begin()->second);
      runningDueUs_ = timers_.begin()->first;
      timers_.erase(timers_.begin());
      fn();
      runningDueUs_ = -1;
      did = true;
    }
    if ((!in_.empty() && in_.front().atUs <= now) || (!out_.empty() && out_.front().atUs <= now)) lastByteWakeUs_ = now;
    while (!in_.empty() && in_.front().atUs <= now) {
      InByte b = in_.front();
      in_.pop_front();
      runningDueUs_ = b.atUs;  // what the device sends on it is due from the byte's time
      if (b.ambiguous) dev_.receiveEither(b.byte, b.now, b.before);
      else dev_.receive(b.byte, b.now);
      runningDueUs_ = -1;
      did = true;
    }
    flushOut();
    if (!did) return;
  }
}

// ---- line ----

LineSettings PtyServer::pcSettings(const PtyLineFlags& f) const {
  // The pty forces 8 data bits and clears PARENB: what it cannot show counts as matching.
  const LineSettings want = dev_.expectedSettings();
  LineSettings s = want;
  s.baud = f.baud;
  if (f.cmspar) s.parity = f.parOdd ? 'M' : 'S';
  else if (f.parOdd) s.parity = 'O';
  else s.parity = (want.parity == 'N' || want.parity == 'E') ? want.parity : 'N';
  s.stopBitsTimes2 = f.twoStop ? 4 : 2;
  return s;
}

void PtyServer::sample() {
  PtyLineFlags f;
  if (!readPtyLine(master_, f) || f == flags_) return;
  prevFlags_ = flags_;
  flags_ = f;
  changedThisWake_ = true;
}

bool PtyServer::slaveClosed() {
  if (master_ < 0) return true;  // unplugged
  pollfd p{master_, POLLIN, 0};
  if (::poll(&p, 1, 0) < 0) return false;
  return (p.revents & POLLHUP) != 0;
}

void PtyServer::keepRaw() {
  // A program that closes the port restores the settings it found (echo on for a fresh pty):
  // the device's own bytes would then echo back to it.
  termios t{};
  if (::tcgetattr(master_, &t) != 0) return;
  const bool raw = !(t.c_lflag & (ECHO | ICANON | ISIG | IEXTEN)) && !(t.c_oflag & OPOST) && !(t.c_iflag & (ICRNL | IXON | INLCR));
  if (raw) return;
  ::cfmakeraw(&t);
  ::tcsetattr(master_, TCSANOW, &t);
}

void PtyServer::readMaster() {
  std::uint8_t buf[4096];
  for (;;) {
    ssize_t n = ::read(master_, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // EAGAIN, or EIO once the slave is closed
    const LineSettings now = pcSettings(flags_), before = pcSettings(prevFlags_);
    const std::int64_t perByte = opt_.pace ? now.lineTimeUs(1) : 0;
    std::int64_t t = std::max(nowUs(), inBusyUntil_);
    for (ssize_t i = 0; i < n; ++i) {
      t += perByte;
      in_.push_back({t, buf[i], now, before, changedThisWake_});
    }
    inBusyUntil_ = t;
    bytesIn_ += n;
    wireIn_.insert(wireIn_.end(), buf, buf + n);
  }
}

void PtyServer::transmit(const Bytes& bytes) {
  if (!slaveOpen_ || slaveClosed()) {
    // Nobody listens: the bytes are lost on the line, not kept for the next opener.
    droppedOut_ += long(bytes.size());
    return;
  }
  const std::int64_t perByte = opt_.pace ? pcSettings(flags_).lineTimeUs(1) : 0;
  std::int64_t t = std::max(nowUs(), outBusyUntil_);
  // A reply made by a timer was planned for the timer's due time, not for when it ran.
  std::int64_t planned = std::max(runningDueUs_ >= 0 ? runningDueUs_ : nowUs(), plannedOutUntil_);
  bool first = true;
  for (std::uint8_t b : bytes) {
    t += perByte;
    planned += perByte;
    out_.push_back({t, b, planned, first});
    first = false;
  }
  outBusyUntil_ = t;
  plannedOutUntil_ = planned;
  flushOut();
}

void PtyServer::flushOut() {
  const std::int64_t now = nowUs();
  std::string chunk;
  std::size_t k = 0;
  while (k < out_.size() && out_[k].atUs <= now) chunk += char(out_[k++].byte);
  if (chunk.empty()) return;
  ssize_t n = ::write(master_, chunk.data(), chunk.size());
  if (n < 0) n = 0;
  bytesOut_ += n;
  wireOut_.insert(wireOut_.end(), chunk.begin(), chunk.begin() + n);
  for (ssize_t i = 0; i < n; ++i) {
    if (!out_[std::size_t(i)].startsReply) continue;
    const std::int64_t late = now - out_[std::size_t(i)].plannedUs;
    if (late > kLateReplyUs) ++lateReplies_;
    worstLateUs_ = std::max(worstLateUs_, late);
  }
  out_.erase(out_.begin(), out_.begin() + n);
}

// ---- control ----

std::string PtyServer::command(const std::string& raw) {
  std::istringstream in(trim(raw));
  std::string cmd, arg;
  in >> cmd;
  std::getline(in, arg);
  arg = trim(arg);
  auto state = [this] {
    return std::string("mode=") + modeName(dev_.mode()) + " switch=" + (dev_.fwSwitch() == FwSwitch::Write ? "W" : "-") +
           " pc_mode=" + std::to_string(dev_.pcMode()) + " boot_baud=" + std::to_string(dev_.bootBaud()) +
           " violations=" + std::to_string(dev_.violations().size()) +
           " plugged=" + (master_ >= 0 ? "yes" : "no");
  };
  if (cmd == "switch" && (arg == "W" || arg == "w")) {
    dev_.setSwitch(FwSwitch::Write);
    return "ok switch W";
  }
  if (cmd == "switch" && arg == "-") {
    dev_.setSwitch(FwSwitch::Normal);
    return "ok switch -";
  }
  if (cmd == "power") {
    if (arg.empty()) dev_.powerCycle();
    else if (arg == "on") dev_.powerOn();
    else if (arg == "off") dev_.powerOff();
    else return "error power takes nothing, on or off";
    return "ok power " + state();
  }
  if (cmd == "fault") {
    if (arg == "dsr-stuck") dev_.faults.dsrStuckOn = true;
    else if (arg == "silent") dev_.faults.instrumentSilent = true;
    else if (arg == "clear") dev_.faults = FaultPlan{};
    else if (arg.rfind('+', 0) == 0) {
      // "+FAULT": its occurrences counted from now, not from the start (a test injects a
      // fault for the exchange of the step about to run).
      auto f = parseFault(arg.substr(1));
      if (!f) return "error bad fault " + arg;
      f->nth += dev_.occurrences(f->kind);
      dev_.faults.add(*f);
    } else if (auto f = parseFault(arg)) dev_.faults.add(*f);
    else return "error bad fault " + arg;
    return "ok fault " + arg;
  }
  if (cmd == "unplug") {
    // The cable pulled: the device node goes away under the open port. The instrument keeps
    // its flash, identity and mode, as it does when only the USB adapter is gone.
    if (master_ < 0) return "error already unplugged";
    ::close(master_);
    master_ = -1;
    if (!opt_.linkPath.empty()) ::unlink(opt_.linkPath.c_str());
    slaveOpen_ = false;
    in_.clear();
    out_.clear();
    ++unplugs_;
    return "ok unplug";
  }
  if (cmd == "replug") {
    // Plugged back in: a fresh pseudo-terminal at the same link path.
    if (master_ >= 0) return "error not unplugged";
    std::string error;
    if (!openPty(error)) return "error " + error;
    return "ok replug " + slavePath_;
  }
  if (cmd == "status") return "ok " + state();
  if (cmd == "dump") {
    std::string where;
    if (!writeReport(where)) return "error " + where;
    return "ok dump " + where;
  }
  if (cmd == "quit") {
    quit_ = true;
    return "ok quit";
  }
  if (cmd.empty()) return "error empty command";
  return "error unknown command " + cmd;
}

std::string PtyServer::reportText() const {
  std::string r = dev_.report(opt_.expectFile ? &*opt_.expectFile : nullptr);
  std::ostringstream o;
  o << "pty=" << slavePath_ << "\n";
  o << "pty_bytes_in=" << bytesIn_ << "\n";
  o << "pty_bytes_out=" << bytesOut_ << "\n";
  o << "pty_in_sha256=" << sha256Hex(wireIn_) << "\n";
  o << "pty_out_sha256=" << sha256Hex(wireOut_) << "\n";
  o << "pty_dropped_out=" << droppedOut_ << "\n";
  o << "pty_unplugs=" << unplugs_ << "\n";
  o << "late_replies=" << lateReplies_ << "\n";
  o << "worst_late_us=" << worstLateUs_ << "\n";
  return o.str() + r;
}

bool PtyServer::writeReport(std::string& where) {
  if (opt_.reportPath.empty()) {
    where = "no report path (--report)";
    return false;
  }
  const std::string tmp = opt_.reportPath + ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    f << reportText();
    if (!f) {
      where = "cannot write " + tmp;
      return false;
    }
  }
  if (std::rename(tmp.c_str(), opt_.reportPath.c_str()) != 0) {
    where = "cannot write " + opt_.reportPath;
    return false;
  }
  where = opt_.reportPath;
  return true;
}

void PtyServer::serveControl(int fd, std::string& buf, bool isStdin) {
  char tmp[1024];
  ssize_t n = ::read(fd, tmp, sizeof tmp);
  if (n <= 0) {
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (isStdin) stdinOpen_ = false;
    buf = "\x04";  // marks the client as gone
    return;
  }
  buf.append(tmp, std::size_t(n));
  std::size_t nl;
  while ((nl = buf.find('\n')) != std::string::npos) {
    std::string line = buf.substr(0, nl);
    buf.erase(0, nl + 1);
    writeAll(isStdin ? STDOUT_FILENO : fd, command(line) + "\n");
  }
}

int PtyServer::run() {
  struct sigaction sa {};
  sa.sa_handler = onStopSignal;
  ::sigaction(SIGINT, &sa, nullptr);
  ::sigaction(SIGTERM, &sa, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  stdinOpen_ = opt_.readStdin;

  while (!quit_ && !gStopSignal) {
    changedThisWake_ = false;
    const bool closed = slaveClosed();
    if (closed) keepRaw();  // also after an open and close too quick to be seen
    if (closed && slaveOpen_) {
      slaveOpen_ = false;
      out_.clear();
    } else if (!closed && !slaveOpen_) {
      slaveOpen_ = true;
    }
    // Sampled while closed too, so a program's restore on close becomes the "before" of the
    // next session rather than the settings of the last one.
    sample();
    if (slaveOpen_) readMaster();
    runDue();

    std::int64_t wait = nextDueUs() - nowUs();
    wait = std::max<std::int64_t>(0, std::min(wait, slaveOpen_ ? kSampleUs : kClosedPollUs));
    std::vector<pollfd> fds;
    if (slaveOpen_) fds.push_back({master_, POLLIN, 0});
    const std::size_t stdinAt = fds.size();
    if (stdinOpen_) fds.push_back({STDIN_FILENO, POLLIN, 0});
    const std::size_t listenAt = fds.size();
    if (listen_ >= 0) fds.push_back({listen_, POLLIN, 0});
    const std::size_t clientsAt = fds.size();
    for (const auto& c : clients_) fds.push_back({c.fd, POLLIN, 0});
    timespec ts{time_t(wait / 1'000'000), long(wait % 1'000'000) * 1000};
    int r = ::ppoll(fds.data(), fds.size(), &ts, nullptr);
    if (r <= 0) continue;
    if (stdinOpen_ && fds[stdinAt].revents) serveControl(STDIN_FILENO, stdinBuf_, true);
    if (listen_ >= 0 && (fds[listenAt].revents & POLLIN)) {
      int c = ::accept4(listen_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (c >= 0) clients_.push_back({c, ""});
    }
    for (std::size_t i = clientsAt; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      auto it = std::find_if(clients_.begin(), clients_.end(), [&](const Client& c) { return c.fd == fds[i].fd; });
      if (it == clients_.end()) continue;
      serveControl(it->fd, it->buf, false);
      if (it->buf == "\x04") {
        ::close(it->fd);
        clients_.erase(it);
      }
    }
  }
  std::string where;
  if (!opt_.reportPath.empty() && !writeReport(where)) std::fprintf(stderr, "vq-sim: %s\n", where.c_str());
  return 0;
}

}  // namespace vq::sim
