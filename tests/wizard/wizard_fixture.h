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
#include "app/state.h"
#include "platform/virtual/virtual_platform.h"
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

class WizardTest : public ::testing::Test {
 protected:
  void load(int langId = 1033) {
    p.reset();  // the old platform uninstalls itself on destruction: drop it first
    p = std::make_unique<virt::VirtualPlatform>();
    p->langId = langId;
    instrument = std::make_unique<FakeInstrument>();  // answers steps 2 and 7
    p->port.attach(instrument.get());
    frmMain_Load();
  }
  void SetUp() override { load(); }

  // Runs fn inside the next yield of whatever step runs next, i.e. while the step is busy.
  void duringNextStep(std::function<void()> fn) { p->clock.after(0, std::move(fn)); }

  std::unique_ptr<virt::VirtualPlatform> p;
  std::unique_ptr<FakeInstrument> instrument;
};

}  // namespace vq::test
