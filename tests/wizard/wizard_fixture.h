// A fresh virtual platform and a freshly loaded main window for every wizard test, with
// helpers that read the form model as data.
#pragma once
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "app/frm_main.h"
#include "base/state.h"
#include "platform/virtual/virtual_platform.h"
#include "unit/flash/fake_boot_controller.h"
#include "unit/link/fake_instrument.h"

namespace vq::test {

// The five wizard buttons' enabled states, in the order of the button table.
struct Buttons {
  bool fileSel, commSetting, forceUpdate, cancel, next;
  bool operator==(const Buttons&) const = default;
};

inline Buttons buttons() {
  return {frmMain.cmdFWFileSel.enabled, frmMain.cmdCommSetting.enabled,
          frmMain.cmdForceUpdate.enabled, frmMain.cmdCancel.enabled, frmMain.cmdNext.enabled};
}

inline std::ostream& operator<<(std::ostream& os, const Buttons& b) {
  auto s = [](bool on) { return on ? "on " : "off"; };
  return os << "{fileSel " << s(b.fileSel) << ", commSetting " << s(b.commSetting)
            << ", forceUpdate " << s(b.forceUpdate) << ", cancel " << s(b.cancel) << ", next "
            << s(b.next) << "}";
}

constexpr bool on = true, off = false;

// Which step names are bold, as step numbers 1..8 (0 = none, -1 = more than one).
inline int boldStep() {
  int found = 0;
  for (int i = 0; i < 8; ++i) {
    if (!frmMain.lblProcess[i].bold) continue;
    if (found != 0) return -1;
    found = i + 1;
  }
  return found;
}

// The far end of the line for a whole wizard run: bytes sent with parity (the link settings)
// reach the instrument, bytes without parity (boot mode) the controller, as if the operator
// had moved the FW switch at steps 4 and 6.
class InstrumentAndController : public virt::Device {
 public:
  InstrumentAndController(FakeInstrument& i, FakeBootController& c) : inst_(i), boot_(c) {}
  void attach(virt::DeviceHost* h) override {
    inst_.attach(h);
    boot_.attach(h);
  }
  void receive(std::uint8_t b, const LineSettings& s) override {
    if (s.parity == 'N') boot_.receive(b, s);
    else inst_.receive(b, s);
  }
  void portOpened(bool open) override {
    inst_.portOpened(open);
    boot_.portOpened(open);
  }
  void modemOut(bool dtr, bool rts) override {
    inst_.modemOut(dtr, rts);
    boot_.modemOut(dtr, rts);
  }
  bool cts() const override { return inst_.cts(); }
  bool dsr() const override { return boot_.dsr(); }

 private:
  FakeInstrument& inst_;
  FakeBootController& boot_;
};

class WizardTest : public ::testing::Test {
 protected:
  void load(int langId = 1033) {
    p.reset();  // the old platform uninstalls itself on destruction: drop it first
    p = std::make_unique<virt::VirtualPlatform>();
    p->langId = langId;
    // The instrument answers steps 2 and 7, the controller in boot mode step 5.
    instrument = std::make_unique<FakeInstrument>();
    bootController = std::make_unique<FakeBootController>();
    both = std::make_unique<InstrumentAndController>(*instrument, *bootController);
    p->port.attach(both.get());
    frmMain_Load();
  }
  void SetUp() override { load(); }

  // Runs fn inside the next yield of whatever step runs next, i.e. while the step is busy.
  void duringNextStep(std::function<void()> fn) { p->clock.after(0, std::move(fn)); }

  std::unique_ptr<virt::VirtualPlatform> p;
  std::unique_ptr<FakeInstrument> instrument;
  std::unique_ptr<FakeBootController> bootController;
  std::unique_ptr<InstrumentAndController> both;
};

}  // namespace vq::test
