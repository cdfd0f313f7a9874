// vq-sim on a real pseudo-terminal, driven by a small client that sets the line like the program.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "pty_client_line.h"
#include "unit/sim/sim_bench.h"

namespace vq::sim::testing {
namespace {

namespace fs = std::filesystem;

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Reads until `want` bytes came or `ms` passed.
Bytes readFor(int fd, std::size_t want, int ms) {
  Bytes got;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (got.size() < want) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
    if (left <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, int(left)) <= 0) continue;
    std::uint8_t buf[512];
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) got.insert(got.end(), buf, buf + n);
  }
  return got;
}

std::string readLine(int fd, int ms) {
  std::string line;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char c;
    if (::read(fd, &c, 1) != 1) break;
    if (c == '\n') return line;
    line += c;
  }
  return line;
}

class VqSimProcess {
 public:
  bool start(const std::vector<std::string>& extra) {
    const fs::path exe = VQ_SIM_PATH;
    if (!fs::exists(exe)) {
      ADD_FAILURE() << exe << " is missing: build vq-sim";
      return false;
    }
    dir_ = fs::temp_directory_path() / ("vq-sim-test-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    control = (dir_ / "ctl").string();
    report = (dir_ / "report.txt").string();
    int out[2];
    if (::pipe(out) != 0) return false;
    std::vector<std::string> args{exe.string(), "--no-stdin", "--control", control, "--report", report, "--dsr-ms", "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    stdout_ = out[0];
    slave = readLine(stdout_, 5000);
    // The control socket is ready once the path is printed.
    return !slave.empty();
  }

  std::string control_(const std::string& line) {
    int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    std::strncpy(a.sun_path, control.c_str(), sizeof a.sun_path - 1);
    if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
      ::close(s);
      return "connect failed";
    }
    const std::string msg = line + "\n";
    (void)!::write(s, msg.data(), msg.size());
    std::string answer = readLine(s, 3000);
    ::close(s);
    return answer;
  }

  std::string quitAndReport() {
    std::string answer = control_("quit");
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    std::ifstream f(report);
    std::stringstream ss;
    ss << f.rdbuf();
    return answer + "\n" + ss.str();
  }

  ~VqSimProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (stdout_ >= 0) ::close(stdout_);
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  std::string slave, control, report;

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
  fs::path dir_;
};

int openSlave(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK); }

void put(int fd, const Bytes& b) { ASSERT_EQ(::write(fd, b.data(), b.size()), ssize_t(b.size())); }

// Settles the line: the simulator samples the settings every few milliseconds.
void setLine(int fd, int baud, char parity) {
  ASSERT_TRUE(setClientLine(fd, baud, parity));
  pause(20);
}

TEST(VqSimPty, ServesBothProtocolsAtTheSettingsTheClientApplies) {
  VqSimProcess sim;
  if (!sim.start({"--version", "1.1.3"})) FAIL() << "vq-sim did not start";
  int fd = openSlave(sim.slave);
  ASSERT_GE(fd, 0);

  // Wrong rate, then wrong parity: silence. (These come first: a change from right to wrong
  // settings that the simulator does not see before the bytes may count either way.)
  setLine(fd, 38400, 'O');
  put(fd, modeRequest(1, kAccessCode));
  EXPECT_EQ(readFor(fd, 1, 300), Bytes{});
  setLine(fd, 307200, 'M');
  put(fd, modeRequest(1, kAccessCode));
  EXPECT_EQ(readFor(fd, 1, 300), Bytes{});

  // Instrument at 307200,O,8,1, a rate only termios2 can set.
  setLine(fd, 307200, 'O');
  put(fd, modeRequest(1, kAccessCode));
  EXPECT_EQ(readFor(fd, 17, 2000).size(), 17u);
  put(fd, request(5, 0));
  EXPECT_EQ(readFor(fd, 12, 2000), hex("FF FF FF FF FF 05 00 00 02 0B 03 0F"));

  // The operator sets "W" and restarts: boot mode, and the baud-rate switch.
  EXPECT_EQ(sim.control_("switch W"), "ok switch W");
  EXPECT_EQ(sim.control_("power").substr(0, 19), "ok power mode=boot ");
  setLine(fd, 9600, 'N');
  put(fd, {0x00});
  pause(7);
  put(fd, {0x00});
  pause(7);
  put(fd, kReset);
  EXPECT_EQ(readFor(fd, 5, 2000), kAck5);
  put(fd, kClock);
  EXPECT_EQ(readFor(fd, 5, 2000), kAck5);
  put(fd, hex("01 02 9A 06 5E 03"));
  pause(5);
  setLine(fd, 38400, 'N');
  put(fd, kReset);
  EXPECT_EQ(readFor(fd, 5, 2000), kAck5);
  EXPECT_NE(sim.control_("status").find("boot_baud=38400"), std::string::npos);

  // Closed and reopened, the port still reaches the controller.
  ::close(fd);
  pause(30);
  fd = openSlave(sim.slave);
  ASSERT_GE(fd, 0);
  setLine(fd, 38400, 'N');
  put(fd, kReset);
  EXPECT_EQ(readFor(fd, 5, 2000), kAck5);
  ::close(fd);

  const std::string rep = sim.quitAndReport();
  EXPECT_EQ(rep.substr(0, 8), "ok quit\n");
  EXPECT_NE(rep.find("\nmode=boot\n"), std::string::npos);
  EXPECT_NE(rep.find("\nviolations=2\n"), std::string::npos) << rep.substr(0, 2000);
  EXPECT_NE(rep.find("while expecting 307200,O,8,1"), std::string::npos);
}

TEST(VqSimPty, KeepsTheSlaveRawAfterAProgramLeavesItCooked) {
  VqSimProcess sim;
  if (!sim.start({})) FAIL() << "vq-sim did not start";
  int fd = openSlave(sim.slave);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(setClientCooked(fd));
  ASSERT_TRUE(clientEchoOn(fd));
  ::close(fd);
  pause(50);
  fd = openSlave(sim.slave);
  ASSERT_GE(fd, 0);
  EXPECT_FALSE(clientEchoOn(fd));
  // Nothing the device did not send comes back: no echo of the request.
  setLine(fd, 307200, 'O');
  put(fd, modeRequest(1, kAccessCode));
  Bytes got = readFor(fd, 40, 300);
  EXPECT_EQ(got.size(), 17u);
  ::close(fd);
}

TEST(VqSimPty, AnswersControlLines) {
  VqSimProcess sim;
  if (!sim.start({"--fault", "reset:drop"})) FAIL() << "vq-sim did not start";
  EXPECT_EQ(sim.control_("switch -"), "ok switch -");
  EXPECT_EQ(sim.control_("fault wdata#3:corrupt"), "ok fault wdata#3:corrupt");
  EXPECT_EQ(sim.control_("fault nonsense").substr(0, 5), "error");
  EXPECT_EQ(sim.control_("power off").substr(0, 22), "ok power mode=off swit");
  EXPECT_EQ(sim.control_("dump"), "ok dump " + sim.report);
  EXPECT_EQ(sim.control_("jump").substr(0, 5), "error");
  const std::string rep = sim.quitAndReport();
  EXPECT_NE(rep.find("\npower=off\n"), std::string::npos);
}

}  // namespace
}  // namespace vq::sim::testing
