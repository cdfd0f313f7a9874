// Steps 2 and 7 against the simulated instrument, clean and with the faults it can play: the
// identity read in step 2 is what the instrument holds again after step 7.
#include "base/error_display.h"
#include "base/param_store.h"
#include "vq_device.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

struct SimCase {
  const char* fault;       // vq-sim's fault text, "" for none
  std::int64_t coalesceUs; // a USB adapter's batching of received bytes
  int code;                // of the step that fails, 0 when both pass
};

const SimCase kSimCases[] = {
    {"", 0, 0},
    {"", 1000, 0},
    {"i1:pieces=3/1", 0, 0},
    {"i127:pieces=4/2", 500, 0},
    {"i2:drop", 0, 0},
    {"i5:corrupt", 0, 0},
    {"i4#1+3:status=51", 0, 0},
    {"i6:status=10", 0, 0},
    {"i127:trail=4", 1000, 0},
    {"i124:delay=20000", 0, 0},
    {"i1#1+11:drop", 0, 12},
    {"i2#1+0:status=10", 0, 12},
};

class LinkSim : public WizardTest {
 protected:
  void attachSim(const SimCase& c) {
    load();
    device = std::make_unique<sim::VqDevice>();
    device->identity.model = "VQA-7000";
    device->identity.serial = " 31415";
    device->identity.cmd04 = {9, 0};
    if (*c.fault) device->faults.add(*sim::parseFault(c.fault));
    p->port.coalesceUs = c.coalesceUs;
    p->port.attach(device.get());
  }
  std::unique_ptr<sim::VqDevice> device;
};

TEST_F(LinkSim, IdentitySurvivesStepsTwoAndSeven) {
  for (const auto& c : kSimCases) {
    SCOPED_TRACE(std::string(c.fault) + " coalesce " + std::to_string(c.coalesceUs));
    attachSim(c);
    const sim::Identity before = device->identity;

    cmdNext_Click();
    if (c.code != 0) {
      ASSERT_EQ(p->messages.size(), 1u);
      EXPECT_EQ(p->messages[0], errorText(c.code)->en);
      EXPECT_EQ(gStep, 0);
      continue;
    }
    ASSERT_TRUE(p->messages.empty()) << p->messages[0];
    EXPECT_EQ(gModelName, "VQA-7000");
    EXPECT_EQ(gSerialNo, " 31415");
    EXPECT_EQ(gCmd04Value, 9);
    EXPECT_EQ(gFwVerMain, device->firmwareVersion().main);

    gStep = 5;  // step 6 on screen; the flash steps are not this test's business
    cmdNext_Click();
    ASSERT_TRUE(p->messages.empty()) << p->messages[0];
    EXPECT_EQ(gStep, 6);
    EXPECT_EQ(device->identity.model, before.model);
    EXPECT_EQ(device->identity.serial, before.serial);
    EXPECT_EQ(device->identity.cmd04, before.cmd04);
    EXPECT_EQ(device->pcMode(), 0);
    EXPECT_FALSE(p->port.portOpen());
    for (const auto& v : device->violations()) ADD_FAILURE() << v.text;
  }
}

}  // namespace
}  // namespace vq::test
