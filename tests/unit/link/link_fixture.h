// A link engine wired to a scripted instrument on the virtual line, as steps 2 and 7 wire it.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "app/frm_main.h"
#include "app/reset_all_state.h"
#include "base/link_state.h"
#include "base/param_store.h"
#include "base/state.h"
#include "link/bas_command_send.h"
#include "link/link_engine.h"
#include "platform/virtual/virtual_platform.h"
#include "unit/link/fake_instrument.h"

namespace vq::test {

class LinkFixture : public ::testing::Test {
 protected:
  void SetUp() override { fresh(); }

  // A new line, instrument and state: each case of a table starts from here.
  void fresh() {
    dev.reset();
    p.reset();
    p = std::make_unique<virt::VirtualPlatform>();
    dev = std::make_unique<FakeInstrument>();
    rxEventsUs.clear();
    resetAllState();
    frmMain.stsAppStatus = StatusBar{};
    p->port.attach(dev.get());
    p->port.setRThreshold(1);
    p->port.onComm = [this](CommEvent e) {
      if (e == CommEvent::Receive) rxEventsUs.push_back(p->clock.nowUs());
      subCommReceive(e);
    };
    p->timer.onTick = [] { subCommSend(); };
    gStep = 1;
  }

  void openPort() {
    p->port.setSettings("307200,O,8,1");
    p->port.setPortOpen(true);
  }

  // Queues a batch and works it off the way a step does; returns the virtual time it took.
  std::int64_t runBatch(void (*queue)(std::int32_t&)) {
    tmrComm().setEnabled(false);
    tmrComm().setInterval(kLinkTickMs);
    std::int32_t n = 0;
    queue(n);
    const std::int64_t t0 = p->clock.nowUs();
    subRunBatch(n);
    return p->clock.nowUs() - t0;
  }

  // Queues one mode request and sends it, leaving the test to run the events.
  void startModeRequest() {
    std::int32_t n = 0;
    gModeKind = 1;
    subAddCommand(n, 127, 1);
    subStartBatch(n);
  }

  // Commands of the PC's writes, in order.
  std::vector<int> writtenCommands() const {
    std::vector<int> v;
    for (const auto& w : p->port.written) v.push_back(w.bytes.at(5));
    return v;
  }

  std::int64_t lastWriteOf(int cmd) const {
    std::int64_t t = -1;
    for (const auto& w : p->port.written)
      if (w.bytes.at(5) == cmd) t = w.atUs;
    return t;
  }

  std::unique_ptr<virt::VirtualPlatform> p;
  std::unique_ptr<FakeInstrument> dev;
  std::vector<std::int64_t> rxEventsUs;
};

}  // namespace vq::test
