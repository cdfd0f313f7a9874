// Step 5 against the simulated controller: the same device model vq-sim serves, its faults
// chosen by the test, in virtual time.
#include "base/boot_state.h"
#include "base/comm_settings.h"
#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/progress.h"
#include "image/write_blocks.h"
#include "vq_device.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

class Step5OnSim : public WizardTest {
 protected:
  std::unique_ptr<sim::VqDevice> controller = std::make_unique<sim::VqDevice>();
  Bytes file = sim::makeUpdateFile();

  // A fresh controller (fault counts start again) with these faults, on a fresh window.
  void restart(const std::vector<const char*>& faults) {
    load();
    controller = std::make_unique<sim::VqDevice>();
    for (const char* f : faults) controller->faults.add(*sim::parseFault(f));
    SetUp();
  }

  void SetUp() override {
    if (!p) WizardTest::SetUp();
    p->port.attach(controller.get());
    gFileData = file;
    gFileLength = std::int32_t(file.size());
    gFileValid = true;
    gStep = 3;
    // The operator sets "W", restarts the controller and presses Next a moment later.
    controller->setSwitch(sim::FwSwitch::Write);
    controller->powerCycle();
    p->sleepMs(100);
    p->clock.runDue();
  }

  void expectUpdated() {
    EXPECT_TRUE(p->messages.empty()) << (p->messages.empty() ? "" : p->messages[0]);
    EXPECT_EQ(gStep, 4);
    EXPECT_EQ(controller->flash, sim::flashImageOf(file));
    EXPECT_TRUE(controller->violations().empty()) << controller->report();
  }
};

TEST_F(Step5OnSim, UpdatesTheFlashAndKeepsOneLinePerStage) {
  cmdNext_Click();
  expectUpdated();
  EXPECT_EQ(controller->bootBaud(), 38400);
  EXPECT_EQ(controller->securitySetting(), (std::array<std::uint8_t, 2>{0xF7, 0x00}));
  EXPECT_EQ(gProgressLog,
            "Creating binary data completed.\r\nConnection completed\r\nClock setting completed"
            "\r\nBaud rate setting completed\r\nErasing the old firmware completed"
            "\r\nWriting new firmware completed\r\nVerifying completed");
}

struct SimCase {
  const char* name;
  std::uint8_t rate;
  std::int64_t coalesceUs;
  std::vector<const char*> faults;
};

TEST_F(Step5OnSim, StatusesBackToBackAndSlowRates) {
  const SimCase cases[] = {
      {"completion and second security status joined, batching adapter", 5, 3000, {"wdata#512:join", "sdata:join"}},
      {"joined statuses, a byte per event", 3, 0, {"wdata#512:join", "sdata:join"}},
      {"9600: frames longer on the line than the verify time-out", 0, 0, {}},
      {"19200 with joined statuses", 1, 5000, {"wdata#512:join", "sdata:join"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    restart(c.faults);
    p->port.coalesceUs = c.coalesceUs;
    gUpdateBaud = c.rate;
    cmdNext_Click();
    expectUpdated();
  }
}

struct SimFailure {
  const char* fault;
  std::uint8_t flashResult;
  int code;
};

TEST_F(Step5OnSim, FaultsOfTheControllerEndTheStepWithTheirCode) {
  const SimFailure cases[] = {
      {"reset#1+0:status=15", 32, 32}, {"reset:drop", 31, 33},       {"clock:status=05", 5, 34},
      {"erase:corrupt", 7, 35},        {"wdata#5:status=06,1B", 6, 36}, {"wcmd:status=10", 16, 36},
      {"wdone:drop", 31, 33},          {"sdone:drop", 31, 33},          {"vdata#301:drop", 31, 33},
      {"vdata#2:status=06,0F", 6, 37},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    restart({c.fault});
    cmdNext_Click();
    EXPECT_EQ(gFlashResult, c.flashResult);
    ASSERT_EQ(p->messages.size(), 1u);
    EXPECT_EQ(p->messages[0], errorText(c.code)->en);
    EXPECT_EQ(gStep, 3);
    EXPECT_FALSE(p->port.portOpen());
  }
}

}  // namespace
}  // namespace vq::test
