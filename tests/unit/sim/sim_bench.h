// A virtual line with the simulated device at its far end, and frame builders written from the
// wire layouts, independent of the tool's own codecs.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/virtual/virtual_platform.h"
#include "vq_device.h"

namespace vq::sim::testing {

inline Bytes hex(const std::string& text) {
  Bytes out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    out.push_back(std::uint8_t(std::stoul(text.substr(i, 2), nullptr, 16)));
    i += 2;
  }
  return out;
}

// Instrument request: sync, command, status 0, direction, length, data, XOR, trailing 0x00.
inline Bytes request(std::uint8_t cmd, std::uint8_t dir, const Bytes& data = {}) {
  Bytes f{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, cmd, 0x00, dir, std::uint8_t(data.size())};
  for (std::uint8_t d : data) f.push_back(d);  // (vector::insert trips a GCC 12 bounds warning here)
  std::uint8_t x = 0;
  for (std::size_t i = 5; i < f.size(); ++i) x ^= f[i];
  f.push_back(x);
  f.push_back(0x00);
  return f;
}

inline Bytes modeRequest(std::uint8_t kind, const std::string& code) {
  Bytes d{kind};
  d.insert(d.end(), code.begin(), code.end());
  return request(127, 1, d);
}

// Boot data frame of one 256-byte block; SUM makes LEN + data + SUM zero modulo 256.
inline Bytes dataFrame(const Bytes& flash, std::size_t block, bool last) {
  Bytes f{0x02, 0x00};
  f.insert(f.end(), flash.begin() + std::ptrdiff_t(block * 256), flash.begin() + std::ptrdiff_t(block * 256 + 256));
  unsigned s = 0;
  for (std::size_t i = 1; i < f.size(); ++i) s += f[i];
  f.push_back(std::uint8_t(0x100 - (s & 0xFF)));
  f.push_back(last ? 0x03 : 0x17);
  return f;
}

inline const Bytes kReset = hex("01 01 00 FF 03");
inline const Bytes kClock = hex("01 05 90 04 09 01 04 59 03");
inline const Bytes kErase = hex("01 01 20 DF 03");
inline const Bytes kWriteCmd = hex("01 07 40 00 00 00 01 FF FF BA 03");
inline const Bytes kVerifyCmd = hex("01 07 13 00 00 00 01 FF FF E7 03");
inline const Bytes kSecurityCmd = hex("01 03 A0 00 00 5D 03");
inline const Bytes kSecurityData = hex("02 02 F7 00 07 03");
inline const Bytes kAck5 = hex("02 01 06 F9 03");
inline const Bytes kAck6 = hex("02 02 06 06 F2 03");

struct Bench {
  explicit Bench(DeviceConfig c = {}) : dev(c) {
    p.port.attach(&dev);
    p.port.setRThreshold(1);
    p.port.onComm = [this](CommEvent ev) {
      if (ev != CommEvent::Receive) return;
      arrivals.emplace_back(p.clock.nowUs(), p.port.input());
    };
  }

  void open(const std::string& settings) {
    if (p.port.portOpen()) p.port.setPortOpen(false);
    p.port.setSettings(settings);
    p.port.setPortOpen(true);
  }

  // Runs the virtual clock exactly `us` forward (never past it).
  void runFor(std::int64_t us) {
    const std::int64_t end = p.clock.nowUs() + us;
    p.clock.after(us, [] {});
    while (p.clock.nowUs() < end) p.waitEvents();
    p.clock.runDue();
  }

  // Sends bytes and returns everything received within waitUs.
  Bytes send(const Bytes& b, std::int64_t waitUs = 50'000) {
    arrivals.clear();
    p.port.output(b);
    runFor(waitUs);
    return received();
  }

  Bytes received() const {
    Bytes all;
    for (const auto& a : arrivals) all.insert(all.end(), a.second.begin(), a.second.end());
    return all;
  }

  // Power-on with "W", DSR pulse over, port at 9600,N,8,1, sync zeros sent.
  void bootMode() {
    dev.setSwitch(FwSwitch::Write);
    dev.powerCycle();
    runFor(dev.config.dsrOnUs + 1000);
    open("9600,N,8,1");
    send({0x00}, 7000);
    send({0x00}, 7000);
  }

  // Reset, clock, baud-rate switch to index 3 (38400) and the confirming reset.
  void bootReady(int d = 6, const std::string& rate = "38400") {
    bootMode();
    ASSERT_EQ(send(kReset), kAck5);
    ASSERT_EQ(send(kClock), kAck5);
    Bytes baud{0x01, 0x02, 0x9A, std::uint8_t(d), std::uint8_t(0x64 - d), 0x03};
    ASSERT_EQ(send(baud, 5000), Bytes{});
    p.port.setSettings(rate + ",N,8,1");
    ASSERT_EQ(send(kReset), kAck5);
  }

  // Instrument in PC mode at the default link settings.
  void pcMode() {
    open("307200,O,8,1");
    ASSERT_EQ(send(modeRequest(1, kAccessCode)).size(), 17u);
  }

  virt::VirtualPlatform p;
  VqDevice dev;
  std::vector<std::pair<std::int64_t, Bytes>> arrivals;
};

}  // namespace vq::sim::testing
