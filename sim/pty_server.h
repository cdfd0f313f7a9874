// Serves a VqDevice on a pseudo-terminal in real time: the program under test opens the slave
// like a serial port, and every byte it writes reaches the device with the line settings it
// applied (read from the master side).
#pragma once
#include <climits>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "pty_termios2.h"
#include "vq_device.h"

namespace vq::sim {

struct PtyServerOptions {
  bool pace = false;           // each byte takes its line time at the PC's current rate
  bool readStdin = true;       // control lines on stdin
  std::string linkPath;        // symlink to the slave
  std::string controlPath;     // unix socket for control lines
  std::string reportPath;      // report written on dump and at exit
  std::optional<Bytes> expectFile;
};

class PtyServer : public virt::DeviceHost {
 public:
  PtyServer(VqDevice& dev, PtyServerOptions opt);
  ~PtyServer() override;

  // Creates the pty, the symlink and the control socket; false with a message on failure.
  bool start(std::string& error);
  const std::string& slavePath() const { return slavePath_; }
  // Runs until "quit" or SIGINT/SIGTERM; writes the report on the way out.
  int run();

  // One control line in, one answer line out.
  std::string command(const std::string& line);
  std::string reportText() const;

  // DeviceHost
  std::int64_t nowUs() const override;
  void after(std::int64_t delayUs, std::function<void()> fn) override;
  void transmit(const Bytes& bytes) override;
  void modemChanged() override {}

 private:
  struct InByte {
    std::int64_t atUs;
    std::uint8_t byte;
    LineSettings now, before;
    bool ambiguous;
  };
  struct OutByte {
    std::int64_t atUs;
    std::uint8_t byte;
    std::int64_t plannedUs;  // when it would leave had every timer run on time
    bool startsReply;
  };
  struct Client {
    int fd;
    std::string buf;
  };

  bool openPty(std::string& error);
  LineSettings pcSettings(const PtyLineFlags& f) const;
  void sample();
  bool slaveClosed();
  void keepRaw();
  void readMaster();
  void flushOut();
  void runDue();
  std::int64_t nextDueUs() const;
  void serveControl(int fd, std::string& buf, bool isStdin);
  bool writeReport(std::string& where);

  VqDevice& dev_;
  PtyServerOptions opt_;
  int master_ = -1;
  int listen_ = -1;
  std::string slavePath_;
  std::vector<Client> clients_;
  std::string stdinBuf_;
  bool stdinOpen_ = true;
  bool quit_ = false;
  bool slaveOpen_ = false;

  std::int64_t t0_ = 0;
  std::multimap<std::int64_t, std::function<void()>> timers_;
  std::deque<InByte> in_;
  std::deque<OutByte> out_;
  std::int64_t inBusyUntil_ = 0, outBusyUntil_ = 0, plannedOutUntil_ = 0;
  // Our own lateness, told apart from the program's: the due time of the timer running now
  // (-1 outside one), and the replies whose first byte left later than planned.
  std::int64_t runningDueUs_ = -1;
  std::int64_t lastByteWakeUs_ = LLONG_MIN / 2;  // when paced bytes were last served
  long lateReplies_ = 0;
  std::int64_t worstLateUs_ = 0;

  PtyLineFlags flags_{}, prevFlags_{};
  bool changedThisWake_ = false;
  long droppedOut_ = 0;
  long bytesIn_ = 0, bytesOut_ = 0;
  // Every byte read from and written to the line, in order, for the report's hashes: a trace
  // of the program's side must hold exactly these.
  Bytes wireIn_, wireOut_;
  long unplugs_ = 0;
};

}  // namespace vq::sim
