// The fault campaign: a whole update against the simulated instrument, with one exchange of
// steps 2, 5 or 7 misbehaving. Each row says what the wizard must make of it; every row then
// checks the same things: the code shown (or none when the step rides it out), the wizard back
// one step with no success shown for the failed step, the flash and the identity as they must
// be, and that pressing Next again with the fault gone completes the update.
//
// To add a fault: add a row. Occurrences (#N) count from the start of the row's step, so
// "i127#2" in step 7 is the second mode request of step 7, whatever step 2 sent before.
#include <sstream>

#include "app/step_texts.h"
#include "base/boot_state.h"
#include "base/progress.h"
#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/param_store.h"
#include "base/state.h"
#include "vq_device.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

enum class Flash { Old, Any, New };  // the controller's flash once the row's step has ended

struct Fault {
  int step;           // 2, 5 or 7
  const char* fault;  // device faults, ';' between two; "cts-off" and "dsr-on" are line faults
  int code;           // what the step ends with; 0 = it rides the fault out
  Flash flash;
};

// Bounds: boot replies are awaited from the end of the frame on the line (3000 ms for commands,
// 65535 ms erase, 318 ms per write block, 1088 ms completion, 4162 and 4193 ms security, 100 ms
// per verify block); the device answers a little after that (0.5 ms commands, 1 s erase, 2 ms
// a write block, 20 ms the completion, 30 and 50 ms security, 0.3 ms a verify block). The link
// repeats a request every 10 ms and gives up at the 11th tick without an accepted reply.
// Bytes behind a reply that come in a later read (here with an adapter that hands over every
// byte at once) are taken as the head of the next reply: (1) the link waits for a frame of the
// length they announce and the batch runs out of repeats; (2) the next boot exchange judges
// them, and fails with its own stage's code. Either way the message is clear and Next again
// completes the update.
const Fault kCampaign[] = {
    // Step 2: the parameter read.
    {2, "i127:drop", 0, Flash::Old},
    {2, "i127#1+0:drop", 12, Flash::Old},
    {2, "i127#2+0:drop", 12, Flash::Old},  // PC mode never left: the retry must cope
    {2, "i1:corrupt", 0, Flash::Old},
    {2, "i1#1+0:corrupt", 12, Flash::Old},
    {2, "i2#1+0:status=10", 12, Flash::Old},
    {2, "i4#1+3:status=51", 0, Flash::Old},
    {2, "i2#1+0:status=51", 12, Flash::Old},  // busy for a minute: given up like silence
    {2, "i5#1:status=51;i5#2+0:drop", 12, Flash::Old},
    {2, "i5:pieces=1/1", 0, Flash::Old},
    {2, "i6:trail=3", 12, Flash::Old},  // (1)
    {2, "i1:delay=5", 0, Flash::Old},
    {2, "i1#1+0:delay=95", 0, Flash::Old},  // late answers to the repeats are not answers
    {2, "i1#1+0:delay=115", 12, Flash::Old},
    {2, "cts-off", 13, Flash::Old},
    {2, "dsr-on", 0, Flash::Old},
    // Step 5: connect, clock, baud rate and its confirming reset.
    {5, "reset:drop", 33, Flash::Old},
    {5, "reset:corrupt", 0, Flash::Old},
    {5, "reset#1+0:corrupt", 32, Flash::Old},
    {5, "reset:status=15", 0, Flash::Old},
    {5, "reset#1+0:status=15", 32, Flash::Old},
    {5, "reset:delay=2990", 0, Flash::Old},
    {5, "reset:delay=3000", 33, Flash::Old},
    {5, "reset:pieces=1/1", 0, Flash::Old},
    {5, "reset:trail=2", 34, Flash::Old},  // (2): the clock status misread
    {5, "dsr-on", 31, Flash::Old},
    {5, "cts-off", 0, Flash::Old},
    {5, "clock:drop", 33, Flash::Old},
    {5, "clock:corrupt", 34, Flash::Old},
    {5, "clock:status=05", 34, Flash::Old},
    {5, "clock:delay=2990", 0, Flash::Old},
    {5, "clock:delay=3000", 33, Flash::Old},
    {5, "clock:pieces=1/1", 0, Flash::Old},
    {5, "clock:trail=2", 30, Flash::Old},  // (2): a LEN out of reach, then
    {5, "reset#2:drop", 33, Flash::Old},
    {5, "reset#2:corrupt", 0, Flash::Old},
    {5, "reset#2+0:corrupt", 32, Flash::Old},
    {5, "reset#2+0:status=15", 32, Flash::Old},
    {5, "reset#2:delay=2990", 0, Flash::Old},
    {5, "reset#2:delay=3000", 33, Flash::Old},
    {5, "reset#2:pieces=1/1", 0, Flash::Old},
    // Erase and the programming command.
    {5, "erase:drop", 33, Flash::Any},
    {5, "erase:corrupt", 35, Flash::Any},
    {5, "erase:status=1A", 35, Flash::Any},
    {5, "erase:delay=64500", 0, Flash::Any},
    {5, "erase:delay=64540", 33, Flash::Any},
    {5, "erase:pieces=1/1", 0, Flash::Any},
    {5, "erase:trail=2", 36, Flash::Any},  // (2)
    {5, "wcmd:drop", 33, Flash::Any},
    {5, "wcmd:corrupt", 36, Flash::Any},
    {5, "wcmd:status=10", 36, Flash::Any},
    {5, "wcmd:delay=2990", 0, Flash::Any},
    {5, "wcmd:delay=3000", 33, Flash::Any},
    {5, "wcmd:trail=2", 36, Flash::Any},  // (2)
    // Write blocks: the first, one in the middle, the last, and the completion status.
    {5, "wdata:drop", 33, Flash::Any},
    {5, "wdata:corrupt", 36, Flash::Any},
    {5, "wdata:status=06,1B", 36, Flash::Any},
    {5, "wdata:status=18", 36, Flash::Any},
    {5, "wdata:delay=310", 0, Flash::Any},
    {5, "wdata:delay=316", 33, Flash::Any},
    {5, "wdata:pieces=1/2", 0, Flash::Any},
    {5, "wdata:trail=2", 36, Flash::Any},  // (2)
    {5, "wdata#256:drop", 33, Flash::Any},
    {5, "wdata#256:corrupt", 36, Flash::Any},
    {5, "wdata#512:drop", 33, Flash::Any},
    {5, "wdata#512:corrupt", 36, Flash::Any},
    {5, "wdata#512:status=06,1B", 36, Flash::Any},
    {5, "wdata#512:delay=310", 0, Flash::Any},
    {5, "wdata#512:delay=316", 33, Flash::Any},
    {5, "wdata#512:join", 0, Flash::Any},
    {5, "wdone:drop", 33, Flash::Any},
    {5, "wdone:corrupt", 36, Flash::Any},
    {5, "wdone:status=1B", 36, Flash::Any},
    {5, "wdone:delay=1060", 0, Flash::Any},
    {5, "wdone:delay=1070", 33, Flash::Any},
    {5, "wdone:pieces=1/1", 0, Flash::Any},
    // Both security statuses.
    {5, "scmd:drop", 33, Flash::New},
    {5, "scmd:corrupt", 34, Flash::New},
    {5, "scmd:status=10", 34, Flash::New},
    {5, "sdata:drop", 33, Flash::New},
    {5, "sdata:corrupt", 34, Flash::New},
    {5, "sdata:status=15", 34, Flash::New},
    {5, "sdata:delay=4120", 0, Flash::New},
    {5, "sdata:delay=4135", 33, Flash::New},
    {5, "sdata:join", 0, Flash::New},
    {5, "sdone:drop", 33, Flash::New},
    {5, "sdone:corrupt", 34, Flash::New},
    {5, "sdone:status=15", 34, Flash::New},
    {5, "sdone:delay=4130", 0, Flash::New},
    {5, "sdone:delay=4145", 33, Flash::New},
    // Verify command and blocks.
    {5, "vcmd:drop", 33, Flash::New},
    {5, "vcmd:corrupt", 37, Flash::New},
    {5, "vcmd:status=10", 37, Flash::New},
    {5, "vdata:drop", 33, Flash::New},
    {5, "vdata:corrupt", 37, Flash::New},
    {5, "vdata:status=06,0F", 37, Flash::New},
    {5, "vdata:delay=97", 0, Flash::New},
    {5, "vdata:delay=99", 33, Flash::New},
    {5, "vdata:pieces=2/1", 0, Flash::New},
    {5, "vdata#512:drop", 33, Flash::New},
    {5, "vdata#512:status=0F", 37, Flash::New},
    // Step 7: the initialisation, then the identity written back.
    {7, "i124:drop", 13, Flash::New},
    {7, "i124:delay=20000", 0, Flash::New},
    {7, "i127:drop", 0, Flash::New},
    {7, "i127#1+0:drop", 12, Flash::New},
    {7, "i127#3+0:drop", 12, Flash::New},
    {7, "i1#1+0:drop", 12, Flash::New},
    {7, "i2:corrupt", 0, Flash::New},
    {7, "i4#1+0:status=10", 12, Flash::New},
    {7, "i4#1+3:status=51", 0, Flash::New},
    {7, "i1:pieces=2/1", 0, Flash::New},
    {7, "i2:trail=3", 12, Flash::New},  // (1)
    {7, "i4#1+0:delay=95", 0, Flash::New},
    {7, "i4#1+0:delay=115", 12, Flash::New},
    {7, "cts-off", 13, Flash::New},
    {7, "dsr-on", 0, Flash::New},
};

class FaultCampaign : public WizardTest, public ::testing::WithParamInterface<Fault> {
 protected:
  void SetUp() override {
    WizardTest::SetUp();
    dev.identity.model = "VQA-7000";
    dev.identity.serial = " 31415";
    dev.identity.cmd04 = {9, 0};
    p->port.attach(&dev);
    gFileData = file;
    gFileLength = std::int32_t(file.size());
    gFileValid = true;
  }

  // Installs the row's faults with their occurrences counted from now.
  void injectFaults(const std::string& text) {
    std::istringstream in(text);
    for (std::string one; std::getline(in, one, ';');) {
      if (one == "cts-off") dev.faults.ctsOff = true;
      else if (one == "dsr-on") dev.faults.dsrStuckOn = true;
      else {
        std::optional<sim::Fault> f = sim::parseFault(one);
        ASSERT_TRUE(f) << one;
        f->nth += dev.occurrences(f->kind);
        dev.faults.add(*f);
      }
    }
  }

  // One press of Next, with what the operator does before it at steps 4 and 6: the FW switch
  // set and the instrument restarted. `before` runs first, once the wizard shows the step
  // that the press leaves.
  void next(const std::function<void()>& before = {}) {
    if (before) before();
    if (gStep == 3 || gStep == 5) {
      dev.setSwitch(gStep == 3 ? sim::FwSwitch::Write : sim::FwSwitch::Normal);
      dev.powerCycle();
      p->sleepMs(100);
      p->clock.runDue();
    }
    cmdNext_Click();
  }

  // Presses Next until step 8 shows or a message appears.
  void walk() {
    while (gStep < 7 && p->messages.empty()) next();
  }

  std::string lastFrames() const {
    std::string out;
    const auto& f = dev.frames();
    for (std::size_t i = f.size() > 20 ? f.size() - 20 : 0; i < f.size(); ++i) {
      out += "\n  " + std::to_string(f[i].atUs) + " " + f[i].note;
    }
    for (const auto& v : dev.violations()) out += "\n  violation " + std::to_string(v.atUs) + " " + v.text;
    return out;
  }

  sim::VqDevice dev;
  Bytes file = sim::makeUpdateFile();
};

TEST_P(FaultCampaign, EndsWithItsCodeAndARetryCompletes) {
  const Fault& c = GetParam();
  const sim::Identity identity = dev.identity;
  const Bytes oldFlash = dev.flash;

  while (gStep + 2 < c.step) next();
  next([&] { injectFaults(c.fault); });

  dev.faults = {};  // the fault belongs to the row's step; the operator may then retry
  if (c.code == 0) {
    EXPECT_TRUE(p->messages.empty()) << p->messages[0] << lastFrames();
    EXPECT_EQ(gStep, c.step - 1);
  } else {
    ASSERT_EQ(p->messages.size(), 1u) << "step " << int(gStep) + 1 << lastFrames();
    EXPECT_EQ(p->messages[0], errorText(c.code)->en);
    // Back one step, and nothing says the failed step finished.
    EXPECT_EQ(gStep, c.step - 2);
    EXPECT_EQ(boldStep(), c.step - 1);
    const InfoText done = c.step == 2 ? InfoText::T2b : c.step == 5 ? InfoText::T5b : InfoText::T7b;
    EXPECT_NE(frmMain.txtInfo.text, stepText(done).en);
    if (c.step == 5) {
      EXPECT_NE(gFlashResult, 0);
      EXPECT_EQ(gProgressLog.find("Verifying completed"), std::string::npos);
      EXPECT_FALSE(p->port.portOpen());
    }
    if (c.flash != Flash::Any) {
      EXPECT_EQ(dev.flash, c.flash == Flash::Old ? oldFlash : sim::flashImageOf(file));
    }
    // What step 2 read is never lost to a later failure.
    if (c.step > 2) {
      EXPECT_EQ(gModelName, identity.model);
      EXPECT_EQ(gSerialNo, identity.serial);
      EXPECT_EQ(gCmd04Value, identity.cmd04[0]);
    }
    p->messages.clear();
  }
  walk();
  ASSERT_TRUE(p->messages.empty()) << p->messages[0] << " in step " << gStep + 2
                                    << lastFrames();
  EXPECT_EQ(gStep, 7);
  EXPECT_EQ(dev.flash, sim::flashImageOf(file));
  // The identity and the one setting carried across (command 6 is left as the initialisation
  // made it).
  EXPECT_EQ(dev.identity.model, identity.model);
  EXPECT_EQ(dev.identity.serial, identity.serial);
  EXPECT_EQ(dev.identity.cmd04, identity.cmd04);
  EXPECT_EQ(dev.pcMode(), 0);
}

// What ctest and a failure show of a row, instead of its bytes.
void PrintTo(const Fault& f, std::ostream* os) {
  static const char* const kFlash[] = {"old", "any", "new"};
  *os << "step " << f.step << " \"" << f.fault << "\" -> " << f.code << ", flash " << kFlash[int(f.flash)];
}

std::string caseName(const ::testing::TestParamInfo<Fault>& info) {
  std::string name = "step" + std::to_string(info.param.step) + "_";
  for (const char* c = info.param.fault; *c; ++c) name += std::isalnum(std::uint8_t(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultCampaign, ::testing::ValuesIn(kCampaign), caseName);

}  // namespace
}  // namespace vq::test
