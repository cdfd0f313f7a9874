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
#include "wizard/fault_campaign_rows.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

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

}  // namespace

// What ctest and a failure show of a row, instead of its bytes (beside Fault, for gtest to find).
void PrintTo(const Fault& f, std::ostream* os) {
  static const char* const kFlash[] = {"old", "any", "new"};
  *os << "step " << f.step << " \"" << f.fault << "\" -> " << f.code << ", flash " << kFlash[int(f.flash)];
}

namespace {

std::string caseName(const ::testing::TestParamInfo<Fault>& info) {
  std::string name = "step" + std::to_string(info.param.step) + "_";
  for (const char* c = info.param.fault; *c; ++c) name += std::isalnum(std::uint8_t(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultCampaign, ::testing::ValuesIn(kCampaign), caseName);

}  // namespace
}  // namespace vq::test
