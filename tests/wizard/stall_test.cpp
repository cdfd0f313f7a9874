// A stalled computer is not a silent instrument. The program is stopped (a laptop suspending
// it) right after it writes a frame, for longer than that frame's time-out; the instrument
// answers meanwhile. When the program runs again its expired tmrComm and the reply are both
// waiting, and its loop may serve either first: the reply came in time and must count. Each
// row is a whole update that must complete with no request sent twice.
#include "base/firmware_file.h"
#include "base/state.h"
#include "flash/boot_frames.h"
#include "vq_device.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

struct Stall {
  const char* name;
  int kind;      // a boot frame kind below, or the instrument command written
  int nth;       // which such frame (1 = the first of the update)
  int stallMs;   // beyond the frame's time-out
  virt::StallWake wake;
};

constexpr int kClockFrame = 1000, kBlockFrame = 1001, kEraseFrame = 1002;

void PrintTo(const Stall& s, std::ostream* os) { *os << s.name; }

bool matches(int kind, const Bytes& f) {
  switch (kind) {
    case kClockFrame: return f == buildClockFrame();
    case kBlockFrame: return f.size() == kBlockFrameLen;
    case kEraseFrame: return f == buildChipEraseFrame();
    default: return f.size() > 5 && f[0] == 0xFF && f[5] == kind;  // an instrument request
  }
}

using virt::StallWake;
const Stall kStalls[] = {
    // Step 5: boot frames (3000 ms command, 65535 ms erase, 318 ms write and 100 ms verify block).
    {"clock_timer_first", kClockFrame, 1, 3400, StallWake::TimerFirst},
    {"clock_port_first", kClockFrame, 1, 3400, StallWake::PortFirst},
    {"erase_timer_first", kEraseFrame, 1, 66000, StallWake::TimerFirst},
    {"write_block_timer_first", kBlockFrame, 10, 400, StallWake::TimerFirst},
    {"write_block_port_first", kBlockFrame, 10, 400, StallWake::PortFirst},
    {"last_write_block_timer_first", kBlockFrame, 512, 1500, StallWake::TimerFirst},
    {"verify_block_timer_first", kBlockFrame, 512 + 7, 250, StallWake::TimerFirst},
    {"verify_block_port_first", kBlockFrame, 512 + 7, 250, StallWake::PortFirst},
    // Steps 2 and 7: instrument requests, paced by the 10 ms tick; 124 bounded by 60 s.
    {"step2_model_timer_first", 1, 1, 150, StallWake::TimerFirst},
    {"step2_model_port_first", 1, 1, 150, StallWake::PortFirst},
    {"step2_cmd05_timer_first", 5, 1, 400, StallWake::TimerFirst},
    {"step7_init_timer_first", 124, 1, 61000, StallWake::TimerFirst},
    {"step7_init_port_first", 124, 1, 61000, StallWake::PortFirst},
    {"step7_cmd04_timer_first", 4, 2, 300, StallWake::TimerFirst},
};

class StallTest : public WizardTest, public ::testing::WithParamInterface<Stall> {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    p->port.attach(&dev);
    gFileData = file;
    gFileLength = std::int32_t(file.size());
    gFileValid = true;
  }
  sim::VqDevice dev;
  Bytes file = sim::makeUpdateFile();
};

TEST_P(StallTest, TheReplyCountsAndTheUpdateCompletes) {
  const Stall& s = GetParam();
  const sim::Identity identity = dev.identity;
  int seen = 0, stalls = 0, repeats = 0;
  Bytes last;
  p->port.onOutput = [&](const Bytes& f) {
    if (f.size() > 1 && f == last) ++repeats;
    last = f;
    if (!matches(s.kind, f) || ++seen != s.nth) return;
    // Just after the program goes back to waiting: its time-out is armed by then.
    p->clock.after(1, [&] {
      ++stalls;
      p->stall(std::int64_t(s.stallMs) * 1000, s.wake);
    });
  };
  while (gStep < 7 && p->messages.empty()) {
    if (gStep == 3 || gStep == 5) {
      dev.setSwitch(gStep == 3 ? sim::FwSwitch::Write : sim::FwSwitch::Normal);
      dev.powerCycle();
      p->sleepMs(100);
      p->clock.runDue();
    }
    cmdNext_Click();
  }
  EXPECT_EQ(stalls, 1);
  ASSERT_TRUE(p->messages.empty()) << p->messages[0] << " in step " << gStep + 2;
  EXPECT_EQ(gStep, 7);
  EXPECT_EQ(repeats, 0);  // a reply that came in time is not waited for again
  EXPECT_EQ(dev.flash, sim::flashImageOf(file));
  EXPECT_EQ(dev.identity.model, identity.model);
  EXPECT_EQ(dev.identity.serial, identity.serial);
  EXPECT_EQ(dev.identity.cmd04, identity.cmd04);
}

INSTANTIATE_TEST_SUITE_P(Rows, StallTest, ::testing::ValuesIn(kStalls),
                         [](const ::testing::TestParamInfo<Stall>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace vq::test
