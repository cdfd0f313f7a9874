// Each fault of the plan, applied to the exchange it names.
#include <functional>

#include "sim_bench.h"

namespace vq::sim::testing {
namespace {

using Scenario = std::function<Bytes(Bench&)>;

Bytes inst127(Bench& b) {
  b.open("307200,O,8,1");
  return b.send(modeRequest(1, kAccessCode));
}
Bytes inst5(Bench& b) {
  b.pcMode();
  return b.send(request(5, 0));
}
Bytes reset(Bench& b) {
  b.bootMode();
  return b.send(kReset);
}
Bytes resetFourTimes(Bench& b) {
  b.bootMode();
  Bytes all;
  for (int i = 0; i < 4; ++i) {
    Bytes r = b.send(kReset);
    all.insert(all.end(), r.begin(), r.end());
  }
  return all;
}
Bytes clock(Bench& b) {
  b.bootMode();
  b.send(kReset);
  return b.send(kClock);
}
Bytes writeTo(Bench& b, std::size_t upTo, std::int64_t waitUs) {
  b.bootReady();
  b.send(kErase, 2'000'000);
  b.send(kWriteCmd);
  const Bytes image = flashImageOf(makeUpdateFile());
  for (std::size_t i = 0; i < upTo; ++i) b.send(dataFrame(image, i, false), 80'000);
  return b.send(dataFrame(image, upTo, upTo == 511), waitUs);
}
Bytes firstBlock(Bench& b) { return writeTo(b, 0, 80'000); }
Bytes lastBlock(Bench& b) { return writeTo(b, 511, 150'000); }
Bytes security(Bench& b) {
  lastBlock(b);
  b.send(kSecurityCmd);
  return b.send(kSecurityData, 200'000);
}
Bytes verifyBlock(Bench& b) {
  b.bootReady();
  b.send(kVerifyCmd);
  return b.send(dataFrame(b.dev.flash, 0, false), 80'000);
}

const Bytes kMode1 = hex("FF FF FF FF FF 7F 00 01 07 01 00 00 00 00 00 00 78");
const Bytes kVersion = hex("FF FF FF FF FF 05 00 00 02 0B 00 0C");

Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Microseconds between the arrival of byte i - 1 and byte i.
std::int64_t gapBefore(const Bench& b, std::size_t i) {
  std::vector<std::int64_t> at;
  for (const auto& a : b.arrivals)
    for (std::size_t k = 0; k < a.second.size(); ++k) at.push_back(a.first);
  return at.at(i) - at.at(i - 1);
}

TEST(SimFaults, EachKindChangesTheReplyItNames) {
  struct Case {
    const char* fault;
    Scenario run;
    Bytes expected;
    std::function<void(const Bench&)> check = nullptr;
  };
  const std::int64_t byte307200 = LineSettings{307200, 'O', 8, 2}.lineTimeUs(1);
  const Case cases[] = {
      {"i127:drop", inst127, {}},
      {"i127:corrupt", inst127, hex("FF FF FF FF FF 7F 00 01 07 01 00 00 00 00 00 00 22")},
      {"i5:status=51", inst5, hex("FF FF FF FF FF 05 33 00 02 0B 00 3F")},
      {"i5:status=10", inst5, hex("FF FF FF FF FF 05 0A 00 02 0B 00 06")},
      {"inst#2:drop", inst5, {}},
      {"i5:trail=3", inst5, cat({kVersion, hex("00 00 00")})},
      {"i5:delay=30", inst5, kVersion,
       [](const Bench& b) { EXPECT_GE(b.arrivals.front().first - b.p.port.written.back().atUs, 30'000); }},
      {"i5:pieces=4/5", inst5, kVersion,
       [&](const Bench& b) {
         EXPECT_GE(gapBefore(b, 4), 4000);
         EXPECT_GE(gapBefore(b, 8), 4000);
         EXPECT_LE(gapBefore(b, 3), byte307200 + 1);
       }},
      {"reset:status=15", reset, hex("02 01 15 EA 03")},
      {"reset#1+3:corrupt", resetFourTimes, cat({hex("02 01 06 A3 03"), hex("02 01 06 A3 03"), hex("02 01 06 A3 03"), kAck5})},
      {"reset#2+0:drop", resetFourTimes, kAck5},
      {"clock:status=05", clock, hex("02 01 05 FA 03")},
      {"clock:dead", clock, {}, [](const Bench& b) { EXPECT_FALSE(b.dev.powered()); }},
      {"wdata#1:status=06,1B", firstBlock, hex("02 02 06 1B DD 03")},
      {"wdata#512:join", lastBlock, cat({kAck6, kAck5}),
       [](const Bench& b) { EXPECT_LT(gapBefore(b, 6), 1000); }},
      {"wdone:drop", lastBlock, kAck6},
      {"wdone:status=1B", lastBlock, cat({kAck6, hex("02 01 1B E4 03")})},
      {"sdata:join", security, cat({kAck5, kAck5}), [](const Bench& b) { EXPECT_LT(gapBefore(b, 5), 2000); }},
      {"sdone:drop", security, kAck5},
      {"sdata:status=10", security, cat({hex("02 01 10 EF 03"), kAck5})},
      {"vdata:status=06,0F", verifyBlock, hex("02 02 06 0F E9 03")},
      {"boot#2:drop", clock, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    auto f = parseFault(c.fault);
    ASSERT_TRUE(f);
    Bench b;
    b.dev.faults.add(*f);
    EXPECT_EQ(c.run(b), c.expected);
    if (c.check) c.check(b);
  }
}

TEST(SimFaults, DeadDeviceStaysSilentUntilPoweredAgain) {
  Bench b;
  b.dev.faults.add(*parseFault("wcmd:dead"));
  b.bootReady();
  EXPECT_EQ(b.send(kWriteCmd), Bytes{});
  EXPECT_EQ(b.send(kReset), Bytes{});
  b.dev.setSwitch(FwSwitch::Normal);
  b.dev.powerOn();
  EXPECT_EQ(inst127(b), kMode1);
}

TEST(SimFaults, DeviceWideFaults) {
  {
    Bench b;
    b.dev.faults.dsrStuckOn = true;
    b.dev.powerCycle();
    b.runFor(5'000'000);
    EXPECT_TRUE(b.p.port.dsrHolding());
  }
  {
    Bench b;
    b.dev.faults.instrumentSilent = true;
    EXPECT_EQ(inst127(b), Bytes{});
  }
  {
    Bench b;
    b.dev.faults.ctsOff = true;
    EXPECT_FALSE(b.p.port.ctsHolding());
  }
}

TEST(SimFaults, TextForm) {
  struct Case {
    const char* text;
    bool ok;
    const char* kind;
    int nth, count;
    FaultAction action;
  };
  const Case cases[] = {
      {"wdata#300:drop", true, "wdata", 300, 1, FaultAction::Drop},
      {"reset#1+4:corrupt", true, "reset", 1, 4, FaultAction::Corrupt},
      {"i5+0:drop", false, "", 0, 0, FaultAction::Drop},
      {"i124#1+0:delay=100", true, "i124", 1, 0, FaultAction::Delay},
      {"sdata:join", true, "sdata", 1, 1, FaultAction::Join},
      {"erase:dead", true, "erase", 1, 1, FaultAction::Dead},
      {"inst:pieces=3/20", true, "inst", 1, 1, FaultAction::Pieces},
      {"nosuch:drop", false, "", 0, 0, FaultAction::Drop},
      {"reset:explode", false, "", 0, 0, FaultAction::Drop},
      {"reset#0:drop", false, "", 0, 0, FaultAction::Drop},
      {"reset:status=XYZ", false, "", 0, 0, FaultAction::Drop},
      {"reset:drop=1", false, "", 0, 0, FaultAction::Drop},
      {"reset", false, "", 0, 0, FaultAction::Drop},
      // Numbers whose µs or nth + count would overflow are refused, not wrapped.
      {"reset:delay=9223372036854775807", false, "", 0, 0, FaultAction::Drop},
      {"reset:pieces=1/86400001", false, "", 0, 0, FaultAction::Drop},
      // A piece size past int once wrapped to -1 (and 2^32 + 1 to 1).
      {"inst:pieces=4294967295/0", false, "", 0, 0, FaultAction::Drop},
      {"inst:pieces=4294967297/0", false, "", 0, 0, FaultAction::Drop},
      {"inst:pieces=1048576/0", true, "inst", 1, 1, FaultAction::Pieces},
      {"reset#2147483647+2147483647:drop", false, "", 0, 0, FaultAction::Drop},
      {"i1:delay=86400000", true, "i1", 1, 1, FaultAction::Delay},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto f = parseFault(c.text);
    ASSERT_EQ(bool(f), c.ok);
    if (!f) continue;
    EXPECT_EQ(f->kind, c.kind);
    EXPECT_EQ(f->nth, c.nth);
    EXPECT_EQ(f->count, c.count);
    EXPECT_EQ(f->action, c.action);
  }
  // Boot statuses in hex, instrument statuses in decimal, both ways.
  EXPECT_EQ(describeFault(*parseFault("wdata#512+2:status=06,1B")), "wdata#512+2:status=06,1B");
  EXPECT_EQ(describeFault(*parseFault("i5:status=51")), "i5#1+1:status=51");
  EXPECT_EQ(describeFault(*parseFault("i5:pieces=3/20")), "i5#1+1:pieces=3/20");
  EXPECT_EQ(parseFault("wdata:status=06,1B")->st2, 0x1B);
  EXPECT_EQ(parseFault("i1:status=51")->st1, 51);
  EXPECT_EQ(parseFault("inst:status=10")->st1, 10);
}

}  // namespace
}  // namespace vq::sim::testing
