// The wizard walked with Next: screens, the button table at every moment, failures going
// back one step, the forced-update jump, the close box while a step holds the port.
#include "app/sequencer.h"
#include "app/step_texts.h"
#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/param_store.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

// What the window looks like at one moment.
struct Moment {
  Buttons buttons;
  int bold;
  std::string panel1;
  bool stepRunning;
  bool busy;
};

Moment now(const virt::VirtualPlatform& p) {
  return {buttons(), boldStep(), frmMain.stsAppStatus.panel1, frmMain.stepRunning, p.busy};
}

// One press of Next: the expected window while the step runs (steps 2, 5, 7) and after it.
struct NextRow {
  int step;             // the step Next leads to
  bool works;           // steps 2, 5 and 7 do their work inside the press
  Buttons whileRunning;
  Buttons after;
  InfoText text;        // txtInfo once the press has returned
  const char* panel1;
};

const NextRow kWholeRun[] = {
    {2, true, {off, off, off, off, off}, {on, on, on, on, on}, InfoText::T2b, "Prameter read"},
    {3, false, {}, {on, on, on, on, on}, InfoText::T3, "Version check"},
    {4, false, {}, {on, on, on, on, on}, InfoText::T4, "Firmware update"},
    {5, true, {off, off, off, off, off}, {off, off, off, off, on}, InfoText::T5b, "Firmware update"},
    {6, false, {}, {off, off, off, off, on}, InfoText::T6, "Parameter update"},
    {7, true, {off, off, off, off, off}, {off, off, off, on, on}, InfoText::T7b, "Parameter update"},
    {8, false, {}, {off, off, off, off, on}, InfoText::T8, "Update end"},
};

using Sequence = WizardTest;

TEST_F(Sequence, NextWalksStepOneToEightThenQuits) {
  gFileValid = true;  // as if a valid update file had been chosen in step 1
  for (const auto& row : kWholeRun) {
    SCOPED_TRACE(row.step);
    ASSERT_TRUE(frmMain.cmdNext.enabled);
    ASSERT_TRUE(frmMain_QueryUnload());
    Moment during{};
    bool ranInside = false;
    duringNextStep([&] {
      during = now(*p);
      ranInside = true;
    });
    frmMain.prgProcess.value = 1;
    frmMain.txtProcess.text = "left from the step before";
    cmdNext_Click();

    EXPECT_EQ(gStep, row.step - 1);
    EXPECT_EQ(gErrCode, 0);
    if (row.works) {
      ASSERT_TRUE(ranInside);
      EXPECT_EQ(during.buttons, row.whileRunning);
      EXPECT_EQ(during.bold, row.step);
      EXPECT_EQ(during.panel1, row.panel1);
      EXPECT_TRUE(during.stepRunning);
      EXPECT_TRUE(during.busy);
    }
    EXPECT_EQ(buttons(), row.after);
    EXPECT_EQ(boldStep(), row.step);
    EXPECT_EQ(frmMain.txtInfo.text, stepText(row.text).en);
    EXPECT_EQ(frmMain.stsAppStatus.panel1, row.panel1);
    if (!row.works) {
      EXPECT_EQ(frmMain.txtProcess.text, "");
      EXPECT_EQ(frmMain.stsAppStatus.panel2, "");
    }
    if (row.step == 3 || row.step == 6 || row.step == 8) {
      EXPECT_EQ(frmMain.prgProcess.value, 0);
    }
    EXPECT_FALSE(frmMain.stepRunning);
    EXPECT_FALSE(p->busy);
    EXPECT_FALSE(p->quitCalled);
  }
  EXPECT_EQ(frmMain.cmdNext.caption, "End");
  EXPECT_TRUE(p->messages.empty());

  cmdNext_Click();
  EXPECT_TRUE(p->quitCalled);
  EXPECT_EQ(boldStep(), 8);  // no ninth step is shown
}

struct ScreenRow {
  int step;
  InfoText text;
  const char* panel1;
  const char* panel2;
};

const ScreenRow kScreens[] = {
    {1, InfoText::T1, "Update start", ""},      {2, InfoText::T2a, "Prameter read", "Ready"},
    {3, InfoText::T3, "Version check", ""},     {4, InfoText::T4, "Firmware update", ""},
    {5, InfoText::T5a, "Firmware update", "Ready"}, {6, InfoText::T6, "Parameter update", ""},
    {7, InfoText::T7a, "Parameter update", "Ready"}, {8, InfoText::T8, "Update end", ""},
};

TEST_F(Sequence, ScreenSetUpOfEveryStep) {
  for (int lang : {1041, 1033}) {
    load(lang);
    for (const auto& row : kScreens) {
      SCOPED_TRACE(row.step);
      for (auto& l : frmMain.lblProcess) l.bold = true;
      frmMain.txtProcess.text = "old progress";
      frmMain.stsAppStatus = {"old", "old"};
      subStepScreen(row.step);
      EXPECT_EQ(boldStep(), row.step);
      EXPECT_EQ(frmMain.txtInfo.text, lang == 1041 ? stepText(row.text).ja : stepText(row.text).en);
      EXPECT_EQ(frmMain.txtProcess.text, "");
      EXPECT_EQ(frmMain.stsAppStatus.panel1, row.panel1);
      EXPECT_EQ(frmMain.stsAppStatus.panel2, row.panel2);
    }
  }
}

TEST_F(Sequence, EndButtonIsJapaneseInJapanese) {
  load(1041);
  gFileValid = true;
  for (int i = 0; i < 7; ++i) cmdNext_Click();
  EXPECT_EQ(frmMain.cmdNext.caption, "終了");
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T8).ja);
}

// A step that fails: its message once, then the step before it with that step's buttons.
struct FailureCase {
  int failingStep;
  int nextPressesBefore;  // Next presses that reach the step before the failing one
  int code;
  Buttons reShown;
  InfoText reShownText;
};

const FailureCase kFailures[] = {
    // A step-2 failure shows step 1 with all buttons on.
    {2, 0, 11, {on, on, on, on, on}, InfoText::T1},
    // Step 5 switched the file button off and step 4 leaves it as it is.
    {5, 3, 30, {off, on, on, on, on}, InfoText::T4},
    // Step 6 leaves only Next on.
    {7, 5, 11, {off, off, off, off, on}, InfoText::T6},
};

TEST_F(Sequence, FailedStepGoesBackOneStepAndNextRetriesIt) {
  for (const auto& c : kFailures) {
    SCOPED_TRACE(c.failingStep);
    load(1033);
    gFileValid = true;
    for (int i = 0; i < c.nextPressesBefore; ++i) cmdNext_Click();
    ASSERT_EQ(gStep, c.failingStep - 2);

    p->port.existingPorts = {};  // the USB cable pulled
    cmdNext_Click();
    ASSERT_EQ(p->messages.size(), 1u);
    EXPECT_EQ(p->messages[0], errorText(c.code)->en);
    EXPECT_EQ(gStep, c.failingStep - 2);
    EXPECT_EQ(gErrCode, 0);  // the re-shown step ran with the code cleared
    EXPECT_EQ(boldStep(), c.failingStep - 1);
    EXPECT_EQ(frmMain.txtInfo.text, stepText(c.reShownText).en);
    EXPECT_EQ(buttons(), c.reShown);
    EXPECT_FALSE(p->port.portOpen());
    EXPECT_FALSE(frmMain.stepRunning);
    EXPECT_FALSE(p->busy);
    EXPECT_TRUE(frmMain_QueryUnload());

    p->port.existingPorts = {1};
    cmdNext_Click();
    EXPECT_EQ(gStep, c.failingStep - 1);
    EXPECT_EQ(boldStep(), c.failingStep);
    EXPECT_EQ(p->messages.size(), 1u);
  }
}

TEST_F(Sequence, FailureMessageFollowsTheLanguage) {
  load(1041);
  p->port.existingPorts = {};
  cmdNext_Click();
  ASSERT_EQ(p->messages.size(), 1u);
  EXPECT_EQ(p->messages[0], errorText(11)->ja);
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T1).ja);
}

TEST_F(Sequence, CloseBoxIsRefusedOnlyWhileAStepHoldsThePort) {
  gFileValid = true;
  for (int step = 2; step <= 8; ++step) {
    SCOPED_TRACE(step);
    bool closeAllowedDuring = true;
    bool ranInside = false;
    duringNextStep([&] {
      closeAllowedDuring = frmMain_QueryUnload();
      ranInside = true;
    });
    cmdNext_Click();
    if (step == 2 || step == 5 || step == 7) {
      ASSERT_TRUE(ranInside);
      EXPECT_FALSE(closeAllowedDuring);
    }
    EXPECT_TRUE(frmMain_QueryUnload());
    if (!ranInside) p->clock.runDue();  // drop the probe of a step that never yielded
  }
}

TEST_F(Sequence, StepThreeNextFollowsTheFileValidity) {
  for (bool valid : {false, true}) {
    SCOPED_TRACE(valid);
    load(1033);
    gFileValid = valid;
    cmdNext_Click();
    cmdNext_Click();
    ASSERT_EQ(gStep, 2);
    EXPECT_EQ(buttons(), (Buttons{on, on, on, on, valid}));
  }
}

struct VersionCase {
  std::uint8_t main, rev;
  const char* text;
};

const VersionCase kVersions[] = {
    {12, 3, "Ver.1.2.3"},
    {19, 0, "Ver.1.9.0"},
    {0, 0, "Ver.0.0.0"},  // nothing read, as after a forced update from step 1
    {10, 12, "Ver.1.0.12"},
    {255, 255, "Ver.25.5.255"},
};

TEST_F(Sequence, StepThreeShowsTheInstrumentVersion) {
  for (const auto& c : kVersions) {
    SCOPED_TRACE(c.text);
    load(1033);
    gFwVerMain = c.main;
    gFwVerRev = c.rev;
    gStep = 2;
    subSequencer();
    EXPECT_EQ(frmMain.lblFWOld.caption, c.text);
    EXPECT_EQ(gFwOldMain, c.main);
    EXPECT_EQ(gFwOldRev, c.rev);
  }
}

TEST_F(Sequence, ForcedUpdateJumpsToStepThreeOnlyWhenAccepted) {
  int shown = 0;
  p->onForceUpdateDialog = [&] {
    ++shown;
    gForceUpdate = false;  // the operator cancels
  };
  cmdForceUpdate_Click();
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(gStep, 0);
  EXPECT_EQ(boldStep(), 1);
  EXPECT_EQ(frmMain.lblFWOld.caption, "Unkonwn");

  p->onForceUpdateDialog = [&] {
    ++shown;
    gForceUpdate = true;  // the operator enters a model and serial number
  };
  cmdForceUpdate_Click();
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(gStep, 2);
  EXPECT_EQ(boldStep(), 3);
  EXPECT_FALSE(frmMain.lblProcess[1].bold);
  EXPECT_EQ(frmMain.lblFWOld.caption, "Ver.0.0.0");
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T3).en);
  EXPECT_FALSE(p->busy);
  EXPECT_TRUE(p->messages.empty());
}

}  // namespace
}  // namespace vq::test
