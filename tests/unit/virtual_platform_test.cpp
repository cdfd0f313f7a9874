#include "platform/virtual/virtual_platform.h"

#include <gtest/gtest.h>

namespace vq::virt {
namespace {

// Echoes every byte back, so line timing can be measured end to end.
class Echo : public Device {
 public:
  void attach(DeviceHost* h) override { host = h; }
  void receive(std::uint8_t b, const LineSettings&) override { host->transmit({b}); }
  DeviceHost* host = nullptr;
};

TEST(VirtualPlatform, BytesTakeTheirLineTimeEachWay) {
  VirtualPlatform p;
  Echo echo;
  p.port.attach(&echo);
  p.port.setSettings("9600,N,8,1");
  p.port.setRThreshold(1);
  p.port.setPortOpen(true);
  std::int64_t lastAt = 0;
  Bytes got;
  p.port.onComm = [&](CommEvent ev) {
    if (ev != CommEvent::Receive) return;
    auto in = p.port.input();
    got.insert(got.end(), in.begin(), in.end());
    lastAt = p.clock.nowUs();
  };
  p.port.output({1, 2, 3});
  ASSERT_TRUE(p.runUntil([&] { return got.size() == 3; }, 1000000));
  EXPECT_EQ(got, (Bytes{1, 2, 3}));
  // 3 bytes out, then the echo of the last byte back: 4 character times of 1.0417 ms.
  EXPECT_NEAR(lastAt, 4 * 1042, 4);
}

TEST(VirtualPlatform, TimerIsPeriodicAndEnablingRestartsIt) {
  VirtualPlatform p;
  std::vector<std::int64_t> ticks;
  p.timer.onTick = [&] { ticks.push_back(p.clock.nowUs()); };
  p.timer.setInterval(10);
  p.timer.setEnabled(true);
  p.sleepMs(5);
  p.timer.setEnabled(true);  // restarts: next tick at 15 ms
  p.waitEvents();
  p.waitEvents();
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{15000, 25000}));
  p.timer.setEnabled(false);
  EXPECT_THROW(p.waitEvents(), HangError);
}

TEST(VirtualPlatform, PortErrorsCarryTheSystemNumbers) {
  VirtualPlatform p;
  p.port.setCommPort(2);
  try {
    p.port.setPortOpen(true);
    FAIL();
  } catch (const SerialError& e) {
    EXPECT_EQ(e.number, kPortNoSuchDevice);
  }
  for (const char* bad : {"9600,N,4,1", "9600,N,8,1.5", ",N,8,1"}) {
    try {
      p.port.setSettings(bad);
      FAIL() << bad;
    } catch (const SerialError& e) {
      EXPECT_EQ(e.number, kPortSettingsRejected) << bad;
    }
  }
}

TEST(VirtualPlatform, ClosingDropsBytesInFlight) {
  VirtualPlatform p;
  Echo echo;
  p.port.attach(&echo);
  p.port.setRThreshold(1);
  p.port.setPortOpen(true);
  int events = 0;
  p.port.onComm = [&](CommEvent) { ++events; };
  p.port.output({1, 2});
  p.port.setPortOpen(false);
  while (!p.clock.idle()) p.waitEvents();
  EXPECT_EQ(events, 0);
}

}  // namespace
}  // namespace vq::virt
