// The serial lock files against a pseudo-terminal reached through a link: a program that
// opened the port by another of its names (a /dev/serial/by-id link, a link of the user's own)
// locks it under that name, so the open, the cause line and --check-port honour the name given
// and the name of the device alike, and the tool leaves its own lock under both.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/native/com_port_map.h"
#include "platform/native/poll_loop.h"
#include "platform/native/port_check.h"
#include "platform/native/port_diagnosis.h"
#include "platform/native/serial_device.h"
#include "platform/native/serial_port.h"

namespace vq::native {
namespace {

namespace fs = std::filesystem;

// A folder of its own under /tmp, gone at the end.
struct TempDir {
  std::string path;
  TempDir() {
    char name[] = "/tmp/vq-lock-XXXXXX";
    path = ::mkdtemp(name) ? name : "";
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

// A process that runs until the end of the case, under a name of its own, holding nothing but
// what a lock file says (it is started before anything opens the device).
struct LiveProcess {
  pid_t pid = -1;
  LiveProcess() {
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid = ::fork();
    if (pid == 0) {
      for (int fd = 3; fd < 1024; ++fd)
        if (fd != ready[1]) ::close(fd);
      ::prctl(PR_SET_NAME, "lockholder");
      (void)!::write(ready[1], "x", 1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char c;
    (void)!::read(ready[0], &c, 1);
    ::close(ready[0]);
  }
  ~LiveProcess() {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  std::string holder() const { return "lockholder (pid " + std::to_string(pid) + ")"; }
};

// The pid of a process that has ended.
long deadPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

// A pseudo-terminal's slave reached through a link in a folder of its own, with the lock
// folder beside it.
struct LinkedPty {
  TempDir tmp;
  int master = -1;
  std::string slave, link, lockDir;
  std::vector<std::string> names;  // the link's lock name, then the device's
  LinkedPty() {
    master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return;
    slave = ::ptsname(master);
    link = tmp.path + "/vq-com1";
    lockDir = tmp.path + "/lock";
    fs::create_directory(lockDir);
    fs::create_symlink(slave, link);
    names = SerialDevice::lockFileNames(link);
  }
  ~LinkedPty() {
    if (master >= 0) ::close(master);
  }
  std::string lock(std::size_t i) const { return lockDir + "/" + names.at(i); }
};

void writeLock(const std::string& path, long pid) {
  std::ofstream out(path);
  char text[16];
  std::snprintf(text, sizeof text, "%10ld\n", pid);
  out << text;
}

// The pid a lock file holds; 0 when there is none.
long lockPid(const std::string& path) {
  std::ifstream in(path);
  long pid = 0;
  in >> pid;
  return in ? pid : 0;
}

std::string underscored(std::string s) {
  for (char& c : s)
    if (c == '/') c = '_';
  return s;
}

SerialDevice::OpenResult openDevice(SerialDevice& d, const std::string& path, std::string& why) {
  return d.open(path, LineSettings{}, 0, why);
}

// A live holder's lock under lock i: the open through the link is refused, naming the pid and
// the lock file, nothing of ours is left behind, and the port's cause line names the program.
void refusedByLiveHolderOf(std::size_t i) {
  LiveProcess holder;
  LinkedPty p;
  ASSERT_EQ(p.names.size(), 2u);
  writeLock(p.lock(i), holder.pid);

  SerialDevice d;
  d.setLockDir(p.lockDir);
  std::string why;
  EXPECT_EQ(openDevice(d, p.link, why), SerialDevice::OpenResult::Refused);
  EXPECT_EQ(why, p.link + ": locked by process " + std::to_string(holder.pid) + " (" + p.lock(i) + ")");
  EXPECT_FALSE(d.isOpen());
  EXPECT_FALSE(fs::exists(p.lock(1 - i))) << "a lock taken before the refusal stayed";
  EXPECT_EQ(lockPid(p.lock(i)), holder.pid);

  ComPortMap map;
  map.pin(1, p.link);
  PollLoop loop;
  NativeSerialPort port(map, loop);
  port.setLockDir(p.lockDir);
  try {
    port.setPortOpen(true);
    ADD_FAILURE() << "opened";
  } catch (const SerialError& e) {
    EXPECT_EQ(e.number, kPortFailure);
  }
  EXPECT_EQ(port.problem.kind, PortProblem::Kind::Busy);
  EXPECT_EQ(port.problem.holder, holder.holder());
  const std::string line = fncPortProblemText(port.problem);
  EXPECT_NE(line.find(holder.holder()), std::string::npos) << line;
  EXPECT_FALSE(fs::exists(p.lock(1 - i)));
}

// A stale lock under lock i (its process gone) is taken over: both locks ours while open,
// both gone after the close.
void staleLockOfTakenOver(std::size_t i) {
  LinkedPty p;
  ASSERT_EQ(p.names.size(), 2u);
  writeLock(p.lock(i), deadPid());
  SerialDevice d;
  d.setLockDir(p.lockDir);
  std::string why;
  ASSERT_EQ(openDevice(d, p.link, why), SerialDevice::OpenResult::Opened) << why;
  EXPECT_EQ(lockPid(p.lock(0)), ::getpid());
  EXPECT_EQ(lockPid(p.lock(1)), ::getpid());
  d.close();
  EXPECT_FALSE(fs::exists(p.lock(0)));
  EXPECT_FALSE(fs::exists(p.lock(1)));
}

// --check-port on the link: a live holder's lock under lock i is reported, a stale one is not.
void checkPortSeesLockOf(std::size_t i) {
  LiveProcess holder;
  LinkedPty p;
  ASSERT_EQ(p.names.size(), 2u);
  PortCheckRoots roots;
  roots.lock = p.lockDir;
  roots.run = p.tmp.path + "/run";
  roots.bin = {};
  writeLock(p.lock(i), holder.pid);
  const PortCheck held = fncCheckPort(1, p.link, roots);
  EXPECT_EQ(held.holder, holder.holder());
  EXPECT_NE(fncPortCheckText(held).find(p.link + " is held open by " + holder.holder()), std::string::npos)
      << fncPortCheckText(held);
  writeLock(p.lock(i), deadPid());
  EXPECT_EQ(fncCheckPort(1, p.link, roots).holder, "");
}

TEST(SerialLock, Cases) {
  struct Case {
    const char* name;
    std::function<void()> check;
  } const cases[] = {
      {"lock names: a device under /dev by its own name, a path outside /dev",
       [] {
         EXPECT_EQ(SerialDevice::lockFileNames("/dev/ttyUSB0"), std::vector<std::string>{"LCK..ttyUSB0"});
         EXPECT_EQ(SerialDevice::lockFileNames("/tmp/vq-no-such-com1"),
                   std::vector<std::string>{"LCK.._tmp_vq-no-such-com1"});
       }},
      {"lock names: a /dev/serial/by-id link, its own name first, then the device's",
       [] {
         TempDir tmp;
         const std::string dev = tmp.path + "/dev";
         fs::create_directories(dev + "/serial/by-id");
         std::ofstream(dev + "/ttyUSB0").put('\0');
         fs::create_symlink("../../ttyUSB0", dev + "/serial/by-id/usb-FTDI_X-if00-port0");
         EXPECT_EQ(SerialDevice::lockFileNames(dev + "/serial/by-id/usb-FTDI_X-if00-port0", dev),
                   (std::vector<std::string>{"LCK..serial_by-id_usb-FTDI_X-if00-port0", "LCK..ttyUSB0"}));
         EXPECT_EQ(SerialDevice::lockFileNames(dev + "/ttyUSB0", dev), std::vector<std::string>{"LCK..ttyUSB0"});
       }},
      {"lock names: a link in /tmp to a pseudo-terminal",
       [] {
         LinkedPty p;
         ASSERT_FALSE(p.slave.empty());
         EXPECT_EQ(p.names,
                   (std::vector<std::string>{"LCK.." + underscored(p.link), "LCK.." + underscored(p.slave.substr(5))}));
         EXPECT_EQ(p.names[0].rfind("LCK.._tmp_", 0), 0u);
       }},
      {"a live holder's lock under the link's name refuses the open via the link", [] { refusedByLiveHolderOf(0); }},
      {"a live holder's lock under the device's name refuses the open via the link; the link's lock is given back",
       [] { refusedByLiveHolderOf(1); }},
      {"a stale lock under the link's name is taken over", [] { staleLockOfTakenOver(0); }},
      {"a stale lock under the device's name is taken over", [] { staleLockOfTakenOver(1); }},
      {"our own open leaves our pid under both names; the close removes both",
       [] {
         LinkedPty p;
         SerialDevice d;
         d.setLockDir(p.lockDir);
         std::string why;
         ASSERT_EQ(openDevice(d, p.link, why), SerialDevice::OpenResult::Opened) << why;
         EXPECT_EQ(lockPid(p.lock(0)), ::getpid());
         EXPECT_EQ(lockPid(p.lock(1)), ::getpid());
         // A second opener in this process, by either name, finds the port locked.
         SerialDevice second;
         second.setLockDir(p.lockDir);
         EXPECT_EQ(openDevice(second, p.slave, why), SerialDevice::OpenResult::Refused);
         EXPECT_EQ(lockPid(p.lock(1)), ::getpid());
         d.close();
         EXPECT_TRUE(fs::is_empty(p.lockDir));
       }},
      {"opened by the device's own path: one lock",
       [] {
         LinkedPty p;
         SerialDevice d;
         d.setLockDir(p.lockDir);
         std::string why;
         ASSERT_EQ(openDevice(d, p.slave, why), SerialDevice::OpenResult::Opened) << why;
         EXPECT_EQ(std::distance(fs::directory_iterator(p.lockDir), fs::directory_iterator()), 1);
         EXPECT_EQ(lockPid(p.lock(1)), ::getpid());
         d.close();
         EXPECT_TRUE(fs::is_empty(p.lockDir));
       }},
      {"the close leaves a lock another program took over alone",
       [] {
         LiveProcess other;
         LinkedPty p;
         SerialDevice d;
         d.setLockDir(p.lockDir);
         std::string why;
         ASSERT_EQ(openDevice(d, p.link, why), SerialDevice::OpenResult::Opened) << why;
         writeLock(p.lock(0), other.pid);
         d.close();
         EXPECT_EQ(lockPid(p.lock(0)), other.pid);
         EXPECT_FALSE(fs::exists(p.lock(1)));
       }},
      {"--check-port reports a holder by the link's name", [] { checkPortSeesLockOf(0); }},
      {"--check-port reports a holder by the device's name", [] { checkPortSeesLockOf(1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.check();
  }
}

}  // namespace
}  // namespace vq::native
