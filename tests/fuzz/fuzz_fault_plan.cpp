// vq-sim's fault plan text (--fault and "fault" lines): one fault a line.
// Holds whatever the text: a parsed fault describes itself in a text that parses back to the
// same fault; the device model plays any parsed fault through a whole step-2 batch and a
// connect and clock stage without crashing or waiting for ever.
#include <string>

#include "app/reset_all_state.h"
#include "base/link_state.h"
#include "fault_plan.h"
#include "flash/boot_exchange.h"
#include "flash/boot_stages.h"
#include "fuzz/fuzz_support.h"
#include "link/bas_command_send.h"
#include "link/link_engine.h"
#include "vq_device.h"

using namespace vq;

namespace {

bool same(const sim::Fault& a, const sim::Fault& b) {
  return a.kind == b.kind && a.nth == b.nth && a.count == b.count && a.action == b.action &&
         a.st1 == b.st1 && a.st2 == b.st2 && a.delayUs == b.delayUs && a.pieceSize == b.pieceSize &&
         a.gapUs == b.gapUs && a.trailing == b.trailing;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  sim::FaultPlan plan;
  std::size_t start = 0;
  while (start <= text.size() && plan.faults.size() < 8) {
    std::size_t nl = text.find('\n', start);
    if (nl == std::string::npos) nl = text.size();
    const std::string line = text.substr(start, nl - start);
    start = nl + 1;
    const auto f = sim::parseFault(line);
    if (!f) continue;
    const std::string described = sim::describeFault(*f);
    const auto back = sim::parseFault(described);
    VQ_FUZZ_CHECK(back && same(*back, *f));
    // Long delays and gaps would only make the run slow; the parser is what is under test.
    sim::Fault played = *f;
    if (played.delayUs > 20'000'000) played.delayUs = 20'000'000;
    if (played.gapUs > 1'000'000) played.gapUs = 1'000'000;
    plan.add(played);
  }
  if (plan.faults.empty()) return 0;

  // Step 2's batch against the instrument.
  {
    resetAllState();
    virt::VirtualPlatform p;
    sim::VqDevice dev;
    dev.faults = plan;
    p.port.attach(&dev);
    p.port.onComm = [](CommEvent e) { subCommReceive(e); };
    p.timer.onTick = [] { subCommSend(); };
    p.port.setSettings("307200,O,8,1");
    p.port.setRThreshold(1);
    p.port.setPortOpen(true);
    tmrComm().setInterval(kLinkTickMs);
    std::int32_t n = 0;
    queueReadBatch(n);
    subStartBatch(n);
    try {
      while (gLinkBusy) p.waitEvents();
    } catch (const virt::HangError&) {
      VQ_FUZZ_CHECK(!"the batch waited with nothing left to happen");
    }
  }
  // The first boot stages against the controller.
  {
    resetAllState();
    virt::VirtualPlatform p;
    sim::VqDevice dev;
    dev.faults = plan;
    p.port.attach(&dev);
    dev.setSwitch(sim::FwSwitch::Write);
    dev.powerCycle();
    p.sleepMs(100);
    p.clock.runDue();
    p.port.onComm = [](CommEvent e) { subBootReceive(e); };
    p.timer.onTick = [] { subBootTimeout(); };
    p.port.setSettings("9600,N,8,1");
    p.port.setRThreshold(0);
    p.port.setPortOpen(true);
    try {
      if (subBootConnect() == 0) subBootSetClock();
    } catch (const virt::HangError&) {
      VQ_FUZZ_CHECK(!"a stage waited with nothing left to happen");
    } catch (const std::exception&) {
      // a status whose LEN points past its end: step 5's run-time failure
    }
  }
  return 0;
}
