// The poll loop of vq-update-cli, and the serial port on it against a pseudo-terminal: what
// the window's loop (Qt's) gives the port for free must hold here too.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/native/com_port_map.h"
#include "platform/native/poll_loop.h"
#include "platform/native/serial_port.h"

namespace vq::native {
namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() { EXPECT_EQ(::pipe2(fd, O_NONBLOCK | O_CLOEXEC), 0); }
  ~Pipe() {
    for (int f : fd)
      if (f >= 0) ::close(f);
  }
  void put() const { EXPECT_EQ(::write(fd[1], "x", 1), 1); }
  void closeWriter() {
    ::close(fd[1]);
    fd[1] = -1;
  }
};

// Runs the loop until done() or the time is up; false on the time-out.
bool runUntil(PollLoop& loop, const std::function<bool()>& done, int ms = 2000) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (!done() && Clock::now() < end) loop.runOnce(false), ::usleep(200);
  return done();
}

TEST(PollLoop, Cases) {
  struct Case {
    const char* name;
    std::function<void()> check;
  } const cases[] = {
      {"nothing watched or armed: a wait returns at once instead of sleeping for ever",
       [] {
         PollLoop loop;
         EXPECT_EQ(loop.runOnce(true), 0);
       }},
      {"a zero single-shot runs at the next pass, once",
       [] {
         PollLoop loop;
         int runs = 0;
         auto t = loop.timer(true, [&] { ++runs; });
         t->start(0);
         EXPECT_EQ(loop.runOnce(true), 1);
         EXPECT_FALSE(t->active());
         EXPECT_EQ(loop.runOnce(false), 0);
         EXPECT_EQ(runs, 1);
       }},
      {"a wait ends on input before a later timer, then on the timer",
       [] {
         PollLoop loop;
         Pipe p;
         std::vector<std::string> seen;
         auto w = loop.watch(p.fd[0], [&] {
           char c;
           while (::read(p.fd[0], &c, 1) == 1) seen.push_back("input");
         }, nullptr);
         auto t = loop.timer(true, [&] { seen.push_back("timer"); });
         t->start(30);
         p.put();
         loop.runOnce(true);
         loop.runOnce(true);
         EXPECT_EQ(seen, (std::vector<std::string>{"input", "timer"}));
       }},
      {"a repeating timer keeps its beat and restarting it starts the interval anew",
       [] {
         PollLoop loop;
         std::vector<Clock::time_point> ticks;
         auto t = loop.timer(false, [&] { ticks.push_back(Clock::now()); });
         const auto from = Clock::now();
         t->start(10);
         while (ticks.size() < 5) loop.runOnce(true);
         const auto spanMs = std::chrono::duration<double, std::milli>(ticks.back() - from).count();
         EXPECT_GE(spanMs, 50.0);
         EXPECT_LT(spanMs, 50.0 + 40.0) << "ticks fell behind";
         t->start(40);
         const auto restarted = Clock::now();
         ticks.clear();
         loop.runOnce(true);
         const double firstMs = std::chrono::duration<double, std::milli>(ticks.at(0) - restarted).count();
         EXPECT_GE(firstMs, 39.0);
       }},
      {"a handler that ends another ready watch and a due timer: neither runs",
       [] {
         PollLoop loop;
         Pipe a, b;
         int bRuns = 0, timerRuns = 0;
         std::unique_ptr<IoWatch> wb;
         std::unique_ptr<LoopTimer> t = loop.timer(true, [&] { ++timerRuns; });
         auto wa = loop.watch(a.fd[0], [&] {
           wb.reset();
           t.reset();
         }, nullptr);
         wb = loop.watch(b.fd[0], [&] { ++bRuns; }, nullptr);
         t->start(0);
         a.put();
         b.put();
         loop.runOnce(true);
         EXPECT_EQ(bRuns, 0);
         EXPECT_EQ(timerRuns, 0);
       }},
      {"a hung-up descriptor wakes its reader; switched off, it leaves the loop alone",
       [] {
         PollLoop loop;
         Pipe p;
         int runs = 0;
         auto w = loop.watch(p.fd[0], [&] { ++runs; }, nullptr);
         p.closeWriter();
         EXPECT_EQ(loop.runOnce(true), 1);
         w->setReadEnabled(false);
         EXPECT_EQ(loop.runOnce(false), 0);
         EXPECT_EQ(runs, 1);
       }},
      {"a handler that throws does not end the loop",
       [] {
         PollLoop loop;
         int runs = 0;
         auto bad = loop.timer(true, [] { throw std::runtime_error("handler fault"); });
         auto good = loop.timer(true, [&] { ++runs; });
         bad->start(0);
         good->start(0);
         loop.runOnce(true);
         EXPECT_EQ(runs, 1);
       }},
      {"the serial port on the loop: bytes both ways with their events, a vanished device once",
       [] {
         PollLoop loop;
         const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
         ASSERT_GE(master, 0);
         ASSERT_EQ(::grantpt(master) | ::unlockpt(master), 0);
         ::fcntl(master, F_SETFL, O_NONBLOCK);
         ComPortMap map;
         map.pin(1, ::ptsname(master));
         NativeSerialPort port(map, loop);
         std::vector<CommEvent> events;
         port.onComm = [&](CommEvent ev) { events.push_back(ev); };
         port.setRThreshold(2);
         port.setSThreshold(3);
         port.setPortOpen(true);
         port.output({1, 2, 3});
         EXPECT_TRUE(runUntil(loop, [&] { return events.size() == 1; }));
         std::uint8_t got[8];
         EXPECT_EQ(::read(master, got, sizeof got), 3);
         EXPECT_EQ(::write(master, "\x10\x11", 2), 2);
         EXPECT_TRUE(runUntil(loop, [&] { return events.size() == 2; }));
         EXPECT_EQ(port.input(), (Bytes{0x10, 0x11}));
         ::close(master);
         EXPECT_TRUE(runUntil(loop, [&] { return !port.portOpen() && events.size() == 3; }));
         for (int i = 0; i < 20; ++i) loop.runOnce(false);
         EXPECT_EQ(events, (std::vector<CommEvent>{CommEvent::Send, CommEvent::Receive, CommEvent::PortFailed}));
         EXPECT_EQ(port.problem.kind, PortProblem::Kind::Gone);
         port.setPortOpen(false);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.check();
  }
}

}  // namespace
}  // namespace vq::native
