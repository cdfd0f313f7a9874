// Virtual platform, fake controller and the boot-mode handlers wired as step 5 routes them.
#pragma once
#include <gtest/gtest.h>

#include "app/frm_main.h"
#include "app/reset_all_state.h"
#include "base/boot_state.h"
#include "base/state.h"
#include "flash/boot_exchange.h"
#include "platform/virtual/virtual_platform.h"
#include "unit/flash/fake_boot_controller.h"

namespace vq::test {

class FlashTest : public ::testing::Test {
 protected:
  virt::VirtualPlatform p;
  FakeBootController dev;

  FlashTest() {
    resetAllState();
    gStep = 4;
    p.port.attach(&dev);
    p.port.onComm = [](CommEvent ev) { subBootReceive(ev); };
    p.timer.onTick = [] { subBootTimeout(); };
  }

  // The port as step 5 opens it, optionally already at a writing rate.
  void openPort(int baud = 9600) {
    p.port.setSettings(std::to_string(baud) + ",N,8,1");
    dev.rate = baud;
    p.port.setPortOpen(true);
  }

  // Writes of the PC that are frames (the single sync bytes left out).
  std::vector<Bytes> framesWritten() const {
    std::vector<Bytes> out;
    for (const auto& w : p.port.written)
      if (w.bytes.size() > 1) out.push_back(w.bytes);
    return out;
  }
};

}  // namespace vq::test
