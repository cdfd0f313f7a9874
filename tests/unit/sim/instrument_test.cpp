// The instrument side of the simulated device, driven frame by frame over the virtual line.
#include "sim_bench.h"

namespace vq::sim::testing {
namespace {

Bytes reply(std::uint8_t cmd, std::uint8_t status, std::uint8_t dir, const Bytes& data) {
  Bytes f{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, cmd, status, dir, std::uint8_t(data.size())};
  f.insert(f.end(), data.begin(), data.end());
  std::uint8_t x = 0;
  for (std::size_t i = 5; i < f.size(); ++i) x ^= f[i];
  f.push_back(x);
  return f;
}

TEST(SimInstrument, ReadOfCommand5GivesTheWorkedReply) {
  DeviceConfig c;
  c.fallbackVersion = {0x0B, 0x03};
  Bench b(c);
  b.pcMode();
  EXPECT_EQ(b.send(hex("FF FF FF FF FF 05 00 00 00 05 00")), hex("FF FF FF FF FF 05 00 00 02 0B 03 0F"));
  EXPECT_TRUE(b.dev.violations().empty());
}

TEST(SimInstrument, ModeRequestsByKindAndCode) {
  struct Case {
    std::uint8_t kind;
    std::string code;
    std::uint8_t status;
    int modeAfter;
  };
  const Case cases[] = {
      {1, "318642", kStatusOk, 1},       {0, "318642", kStatusOk, 0},
      {2, "318642", kStatusOk, 2},       {2, "47205813", kStatusOk, 2},
      {1, "47205813", kStatusRejected, 0}, {0, "000000", kStatusRejected, 0},
      {2, "4720581", kStatusRejected, 0},  {3, "318642", kStatusRejected, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " code " + c.code);
    Bench b;
    b.open("307200,O,8,1");
    Bytes got = b.send(modeRequest(c.kind, c.code));
    ASSERT_GE(got.size(), 10u);
    EXPECT_EQ(got[5], 127);
    EXPECT_EQ(got[6], c.status);
    EXPECT_EQ(b.dev.pcMode(), c.modeAfter);
    if (c.status == kStatusOk) {
      EXPECT_EQ(got, reply(127, 0, 1, {std::uint8_t(c.modeAfter), 0, 0, 0, 0, 0, 0}));
    }
  }
}

TEST(SimInstrument, ModeReplyCanCarryOneByte) {
  DeviceConfig c;
  c.modeReplyLength = 1;
  Bench b(c);
  b.open("307200,O,8,1");
  EXPECT_EQ(b.send(modeRequest(1, kAccessCode)), reply(127, 0, 1, {1}));
}

TEST(SimInstrument, ReadsReturnTheStoredValuesInPcMode) {
  Bench b;
  b.dev.identity.model = "ABCDEFGH";
  b.dev.identity.serial = " 12345";
  b.dev.identity.cmd04 = {7, 0};
  b.dev.identity.cmd06 = {3, 9};
  b.pcMode();
  EXPECT_EQ(b.send(request(1, 0)), reply(1, 0, 0, Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}));
  EXPECT_EQ(b.send(request(2, 0)), reply(2, 0, 0, Bytes{' ', '1', '2', '3', '4', '5'}));
  EXPECT_EQ(b.send(request(4, 0)), reply(4, 0, 0, {7, 0}));
  EXPECT_EQ(b.send(request(6, 0)), reply(6, 0, 0, {3, 9}));
}

TEST(SimInstrument, RequestsOutsidePcModeAreRejected) {
  Bench b;
  b.open("307200,O,8,1");
  for (std::uint8_t cmd : {1, 2, 4, 5, 6}) EXPECT_EQ(b.send(request(cmd, 0)), reply(cmd, kStatusRejected, 0, {}));
  EXPECT_EQ(b.send(request(1, 1, Bytes(8, 'X'))), reply(1, kStatusRejected, 1, {}));
  EXPECT_EQ(b.dev.identity.model, "VQ-1000A");
  // Leaving PC mode closes it again.
  b.send(modeRequest(1, kAccessCode));
  b.send(modeRequest(0, kAccessCode));
  EXPECT_EQ(b.send(request(5, 0)), reply(5, kStatusRejected, 0, {}));
}

TEST(SimInstrument, WritesStoreModelSerialAndCommand4) {
  Bench b;
  b.pcMode();
  EXPECT_EQ(b.send(request(1, 1, Bytes{'Q', 'V', '-', '7', '7', '0', '0', 'Z'})), reply(1, 0, 1, {}));
  EXPECT_EQ(b.send(request(2, 1, Bytes{' ', '5', '4', '3', '2', '1'})), reply(2, 0, 1, {}));
  EXPECT_EQ(b.send(hex("FF FF FF FF FF 04 00 01 02 05 00 02 00")), reply(4, 0, 1, {}));
  EXPECT_EQ(b.dev.identity.model, "QV-7700Z");
  EXPECT_EQ(b.dev.identity.serial, " 54321");
  EXPECT_EQ(b.dev.identity.cmd04, (std::array<std::uint8_t, 2>{5, 0}));
  // Wrong lengths and commands that cannot be written are rejected and change nothing.
  EXPECT_EQ(b.send(request(1, 1, Bytes(7, 'X')))[6], kStatusRejected);
  EXPECT_EQ(b.send(request(5, 1, {1, 2}))[6], kStatusRejected);
  EXPECT_EQ(b.send(request(6, 1, {1, 2}))[6], kStatusRejected);
  EXPECT_EQ(b.dev.identity.model, "QV-7700Z");
}

TEST(SimInstrument, BadChecksumIsRejected) {
  Bench b;
  b.pcMode();
  Bytes r = request(5, 0);
  r[9] ^= 0x01;
  EXPECT_EQ(b.send(r), reply(5, kStatusRejected, 0, {}));
  EXPECT_FALSE(b.dev.violations().empty());
}

TEST(SimInstrument, InitialiseNeedsTheEightDigitCodeAndAnswersAfterItsDelay) {
  Bench b;
  b.open("307200,O,8,1");
  // With the 6-digit code the instrument is in PC mode but refuses 124.
  b.send(modeRequest(2, kAccessCode));
  EXPECT_EQ(b.send(hex("FF FF FF FF FF 7C 00 01 00 7D 00")), reply(124, kStatusRejected, 1, {}));

  ASSERT_EQ(b.send(modeRequest(2, kInitAccessCode))[6], kStatusOk);
  EXPECT_EQ(b.send(hex("FF FF FF FF FF 7C 00 01 00 7D 00"), 1'900'000), Bytes{});
  EXPECT_EQ(b.dev.identity.model, "VQ-1000A");
  // A request while it is busy gets the busy status.
  EXPECT_EQ(b.send(request(1, 0), 20'000), reply(1, kStatusBusy, 0, {}));
  b.arrivals.clear();
  b.runFor(200'000);
  EXPECT_EQ(b.received(), reply(124, 0, 1, {}));
  EXPECT_EQ(b.dev.identity, factoryBlankIdentity());
  EXPECT_EQ(b.dev.identity.model, "        ");
}

TEST(SimInstrument, WrongLineSettingsAreGarbage) {
  const char* wrong[] = {"9600,O,8,1", "307200,E,8,1", "307200,N,8,1", "307200,O,7,1", "307200,O,8,2", "38400,O,8,1"};
  for (const char* s : wrong) {
    SCOPED_TRACE(s);
    Bench b;
    b.open(s);
    EXPECT_EQ(b.send(modeRequest(1, kAccessCode)), Bytes{});
    EXPECT_EQ(b.dev.pcMode(), 0);
    ASSERT_EQ(b.dev.violations().size(), 1u);
    EXPECT_NE(b.dev.violations()[0].text.find("while expecting 307200,O,8,1"), std::string::npos);
    // The right settings afterwards work at once.
    b.open("307200,O,8,1");
    EXPECT_EQ(b.send(modeRequest(1, kAccessCode)).size(), 17u);
  }
}

TEST(SimInstrument, LinkSettingsAreConfigurable) {
  DeviceConfig c;
  c.link = *parseLineSettings("38400,N,8,1");
  Bench b(c);
  b.open("307200,O,8,1");
  EXPECT_EQ(b.send(modeRequest(1, kAccessCode)), Bytes{});
  b.open("38400,N,8,1");
  EXPECT_EQ(b.send(modeRequest(1, kAccessCode)).size(), 17u);
}

TEST(SimInstrument, SwitchedOffOrInBootModeItDoesNotAnswer) {
  Bench b;
  b.dev.powerOff();
  b.open("307200,O,8,1");
  EXPECT_EQ(b.send(modeRequest(1, kAccessCode)), Bytes{});
  b.dev.setSwitch(FwSwitch::Write);
  b.dev.powerOn();
  EXPECT_EQ(b.send(modeRequest(1, kAccessCode)), Bytes{});
  b.dev.setSwitch(FwSwitch::Normal);
  b.dev.powerCycle();
  EXPECT_EQ(b.send(modeRequest(1, kAccessCode)).size(), 17u);
}

TEST(SimInstrument, PowerCycleLeavesPcMode) {
  Bench b;
  b.pcMode();
  b.dev.powerCycle();
  EXPECT_EQ(b.dev.pcMode(), 0);
  EXPECT_EQ(b.send(request(5, 0))[6], kStatusRejected);
}

}  // namespace
}  // namespace vq::sim::testing

namespace vq::sim::testing {
namespace {

// A transport that saw the settings change around a byte's arrival hands over both.
TEST(SimLine, ByteSeenAroundASettingsChangeCountsWhenEitherSettingsMatch) {
  const LineSettings link{307200, 'O', 8, 2}, other{38400, 'O', 8, 2}, third{9600, 'N', 8, 2};
  Bench b;
  b.open("307200,O,8,1");
  for (std::uint8_t x : modeRequest(1, kAccessCode)) b.dev.receiveEither(x, other, link);
  b.runFor(10'000);
  EXPECT_EQ(b.dev.pcMode(), 1);
  EXPECT_TRUE(b.dev.violations().empty());
  for (std::uint8_t x : request(5, 0)) b.dev.receiveEither(x, other, third);
  EXPECT_EQ(b.dev.violations().size(), 1u);
  EXPECT_EQ(b.dev.violations()[0].repeat, 11);
}

}  // namespace
}  // namespace vq::sim::testing
