// The boot controller of the simulated device: a whole update, then each way it refuses.
#include "base/sha256.h"
#include "sim_bench.h"

namespace vq::sim::testing {
namespace {

// Erase, write all 512 blocks of `image`, security setting, verify; returns the statuses seen.
void flashImage(Bench& b, const Bytes& image) {
  ASSERT_EQ(b.send(kErase, b.dev.config.eraseUs + 50'000), kAck5);
  ASSERT_EQ(b.send(kWriteCmd), kAck5);
  for (std::size_t blk = 0; blk < 511; ++blk) ASSERT_EQ(b.send(dataFrame(image, blk, false), 80'000), kAck6) << blk;
  EXPECT_EQ(b.send(dataFrame(image, 511, true), 150'000), hex("02 02 06 06 F2 03 02 01 06 F9 03"));
  ASSERT_EQ(b.arrivals.size(), 11u);
  EXPECT_GE(b.arrivals[6].first - b.arrivals[5].first, b.dev.config.completionUs / 2) << "completion status comes apart";
  ASSERT_EQ(b.send(kSecurityCmd), kAck5);
  EXPECT_EQ(b.send(kSecurityData, 200'000), hex("02 01 06 F9 03 02 01 06 F9 03"));
  ASSERT_EQ(b.arrivals.size(), 10u);
  EXPECT_GE(b.arrivals[5].first - b.arrivals[4].first, b.dev.config.securitySecondUs / 2);
  ASSERT_EQ(b.send(kVerifyCmd), kAck5);
  for (std::size_t blk = 0; blk < 512; ++blk) ASSERT_EQ(b.send(dataFrame(image, blk, blk == 511), 80'000), kAck6) << blk;
}

TEST(SimBoot, WholeUpdateWithBaudRateSwitchReplacesFlashAndVersion) {
  Bench b;
  b.bootReady();
  EXPECT_EQ(b.dev.bootBaud(), 38400);
  UpdateFileOptions o;
  o.v1 = 2;
  o.v2 = 3;
  o.v3 = 4;
  o.seed = 77;
  const Bytes file = makeUpdateFile(o);
  const Bytes image = flashImageOf(file);
  flashImage(b, image);
  EXPECT_EQ(b.dev.flash, image);
  EXPECT_EQ(b.dev.securitySetting(), (std::array<std::uint8_t, 2>{0xF7, 0x00}));
  for (const auto& v : b.dev.violations()) ADD_FAILURE() << v.text;

  const std::string rep = b.dev.report(&file);
  EXPECT_NE(rep.find("flash_matches_update_file=yes"), std::string::npos);
  EXPECT_NE(rep.find("flash_sha256=" + sha256Hex(image)), std::string::npos);
  EXPECT_NE(rep.find("violations=0"), std::string::npos);

  // Back to "-": the new firmware reports the file's version, 2.3 rev 4.
  b.dev.setSwitch(FwSwitch::Normal);
  b.dev.powerCycle();
  b.pcMode();
  EXPECT_EQ(b.send(request(5, 0)), hex("FF FF FF FF FF 05 00 00 02 17 04 14"));
}

TEST(SimBoot, EachWritingRateIsFollowed) {
  const int rates[] = {9600, 19200, 31250, 38400, 76800, 153600};
  for (int d = 3; d <= 8; ++d) {
    SCOPED_TRACE(d);
    Bench b;
    b.bootReady(d, std::to_string(rates[d - 3]));
    EXPECT_EQ(b.dev.bootBaud(), rates[d - 3]);
  }
}

TEST(SimBoot, AfterTheSwitchTheOldRateIsGarbage) {
  Bench b;
  b.bootMode();
  b.send(kReset);
  b.send(kClock);
  b.send(hex("01 02 9A 06 5E 03"), 5000);
  EXPECT_EQ(b.send(kReset), Bytes{});  // still at 9600
  EXPECT_EQ(b.dev.violations().back().text, "bytes at 9600,N,8,1 while expecting 38400,N,8,1");
  b.p.port.setSettings("38400,N,8,1");
  EXPECT_EQ(b.send(kReset), kAck5);
}

TEST(SimBoot, NothingIsAnsweredBeforeTheSyncBytesOrAtLinkSettings) {
  Bench b;
  b.dev.setSwitch(FwSwitch::Write);
  b.dev.powerCycle();
  b.open("307200,O,8,1");
  EXPECT_EQ(b.send({0x00, 0x00}), Bytes{});
  EXPECT_EQ(b.send(kReset), Bytes{});
  b.open("9600,N,8,1");
  EXPECT_EQ(b.send(kReset), Bytes{});
  EXPECT_NE(b.dev.violations().back().text.find("before the two 0x00 sync bytes"), std::string::npos);
  b.send({0x00, 0x00});
  EXPECT_EQ(b.send(kReset), kAck5);
}

TEST(SimBoot, RefusalsByStatus) {
  struct Case {
    const char* name;
    Bytes frame;
    Bytes reply;
  };
  const Case cases[] = {
      {"reset with a wrong checksum", hex("01 01 00 FE 03"), hex("02 01 07 F8 03")},
      {"clock with other data", hex("01 05 90 04 09 01 05 58 03"), hex("02 01 05 FA 03")},
      {"baud rate D out of range", hex("01 02 9A 09 5B 03"), hex("02 01 05 FA 03")},
      {"write range not on blocks", hex("01 07 40 00 00 10 01 FF FF AA 03"), hex("02 01 05 FA 03")},
      {"unknown command", hex("01 01 55 AA 03"), hex("02 01 15 EA 03")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Bench b;
    b.bootMode();
    b.send(kReset);
    EXPECT_EQ(b.send(c.frame), c.reply);
    EXPECT_FALSE(b.dev.violations().empty());
  }
}

TEST(SimBoot, ProgrammingWithoutEraseFailsTheMarginCheck) {
  Bench b;
  b.bootReady();
  ASSERT_EQ(b.send(kWriteCmd), kAck5);
  Bytes image = b.dev.flash;
  image[5] ^= 0x0F;  // a byte the factory image already holds programmed
  EXPECT_EQ(b.send(dataFrame(image, 0, false), 80'000), hex("02 02 06 1B DD 03"));
}

TEST(SimBoot, VerifyReportsADifferingBlock) {
  Bench b;
  b.bootReady();
  Bytes image = b.dev.flash;
  ASSERT_EQ(b.send(kVerifyCmd), kAck5);
  EXPECT_EQ(b.send(dataFrame(image, 0, false), 80'000), kAck6);
  image[256 + 17] ^= 0x01;
  EXPECT_EQ(b.send(dataFrame(image, 1, false), 80'000), hex("02 02 06 0F E9 03"));
}

TEST(SimBoot, DataFrameWithWrongChecksumOrEndByte) {
  Bench b;
  b.bootReady();
  ASSERT_EQ(b.send(kErase, 2'000'000), kAck5);
  ASSERT_EQ(b.send(kWriteCmd), kAck5);
  Bytes image(kFlashSize, 0x11);
  Bytes bad = dataFrame(image, 0, false);
  bad[100] ^= 0x01;
  EXPECT_EQ(b.send(bad, 80'000), hex("02 02 07 07 F0 03"));
  const auto before = b.dev.violations().size();
  EXPECT_EQ(b.send(dataFrame(image, 0, true), 80'000), kAck6);  // ETX too early: noted, programmed
  EXPECT_EQ(b.dev.violations().size(), before + 1);
}

TEST(SimBoot, EraseTakesItsConfiguredTime) {
  DeviceConfig c;
  c.eraseUs = 5'000'000;
  Bench b(c);
  b.bootReady();
  EXPECT_EQ(b.send(kErase, 4'900'000), Bytes{});
  EXPECT_NE(b.dev.flash[0], 0xFF);
  b.arrivals.clear();
  b.runFor(200'000);
  EXPECT_EQ(b.received(), kAck5);
  EXPECT_TRUE(std::all_of(b.dev.flash.begin(), b.dev.flash.end(), [](std::uint8_t x) { return x == 0xFF; }));
}

TEST(SimBoot, DsrIsOnBrieflyAfterPowerOn) {
  Bench b;
  b.dev.setSwitch(FwSwitch::Write);
  b.dev.powerCycle();
  EXPECT_TRUE(b.p.port.dsrHolding());
  EXPECT_TRUE(b.p.port.ctsHolding());
  b.runFor(b.dev.config.dsrOnUs - 1000);
  EXPECT_TRUE(b.p.port.dsrHolding());
  b.runFor(2000);
  EXPECT_FALSE(b.p.port.dsrHolding());
}

TEST(SimBoot, OutOfSequenceCommandsAreNoted) {
  Bench b;
  b.bootMode();
  b.send(kClock);  // before reset
  b.send(kSecurityCmd);  // before any write
  b.send(kSecurityData, 200'000);
  b.send(kSecurityData);  // no command awaits it
  std::vector<std::string> texts;
  for (const auto& v : b.dev.violations()) texts.push_back(v.text);
  EXPECT_EQ(texts, (std::vector<std::string>{"clock setting before reset", "security setting before the write completed",
                                             "data frame while no command awaits data"}));
}

}  // namespace
}  // namespace vq::sim::testing

namespace vq::sim::testing {
namespace {

TEST(SimAutoSwitch, FollowsTheToolBetweenInstrumentAndBootMode) {
  DeviceConfig c;
  c.autoSwitch = true;
  Bench b(c);
  b.pcMode();
  // Boot-mode settings and the sync zeros: the operator set "W" and restarted.
  b.open("9600,N,8,1");
  b.send({0x00}, 7000);
  b.send({0x00}, 7000);
  EXPECT_EQ(b.dev.mode(), DeviceMode::Boot);
  EXPECT_EQ(b.dev.fwSwitch(), FwSwitch::Write);
  EXPECT_EQ(b.send(kReset), kAck5);
  b.send(kClock);
  b.send(hex("01 02 9A 06 5E 03"), 5000);
  // A restarted boot run at 9600 while the controller sits at 38400 restarts it again.
  b.send({0x00}, 7000);
  b.send({0x00}, 7000);
  EXPECT_EQ(b.dev.bootBaud(), 9600);
  EXPECT_EQ(b.send(kReset), kAck5);
  // Link settings and an instrument request: back to "-".
  b.open("307200,O,8,1");
  EXPECT_EQ(b.send(modeRequest(1, kAccessCode)).size(), 17u);
  EXPECT_EQ(b.dev.mode(), DeviceMode::Instrument);
  EXPECT_EQ(b.dev.fwSwitch(), FwSwitch::Normal);
}

TEST(SimReport, KeyLinesForScripts) {
  Bench b;
  b.dev.identity.model = "MODEL-XY";
  b.dev.identity.cmd04 = {9, 0};
  b.open("9600,O,8,1");
  b.send(modeRequest(1, kAccessCode));
  const std::string r = b.dev.report();
  for (const char* line : {"\nmodel=MODEL-XY\n", "\nserial= 12345\n", "\ncmd04=9\n", "\nmode=instrument\n",
                           "\nswitch=-\n", "\nviolations=1\n", "\nviolation ", "\nfw_main=11\n"})
    EXPECT_NE(r.find(line), std::string::npos) << line;
  EXPECT_EQ(r.find("flash_matches_update_file"), std::string::npos);
  const Bytes other = makeUpdateFile(UpdateFileOptions{.seed = 5});
  EXPECT_NE(b.dev.report(&other).find("flash_matches_update_file=no"), std::string::npos);
}

}  // namespace
}  // namespace vq::sim::testing
