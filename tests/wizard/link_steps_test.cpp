// Steps 2 and 7 as the operator runs them with Next: what is read, what is written back, the
// screens, and every way the steps fail and come back.
#include "app/frm_force_update.h"
#include "app/sequencer.h"
#include "app/step_texts.h"
#include "base/comm_settings.h"
#include "base/error_display.h"
#include "base/link_state.h"
#include "base/param_store.h"
#include "link/link_engine.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

class LinkSteps : public WizardTest {
 protected:
  // From step 6's screen, Next runs step 7.
  void nextToStep7() {
    gStep = 5;
    cmdNext_Click();
  }

  std::vector<std::pair<int, int>> requestsSeen() const {
    std::vector<std::pair<int, int>> v;
    for (const auto& r : instrument->requests) v.emplace_back(r.Command, r.Direction);
    return v;
  }

  const InstrumentFrame* lastWriteOf(int cmd) const {
    const InstrumentFrame* f = nullptr;
    for (const auto& r : instrument->requests)
      if (r.Command == cmd && r.Direction == 1) f = &r;
    return f;
  }

  void expectShowing(int code) {
    ASSERT_EQ(p->messages.size(), 1u) << code;
    EXPECT_EQ(p->messages[0], errorText(code)->en);
  }
};

const Buttons kAllOn{on, on, on, on, on};
const Buttons kOnlyNext{off, off, off, off, on};

TEST_F(LinkSteps, StepTwoReadsTheInstrumentAndClosesThePort) {
  std::vector<int> progressAtRequests;
  instrument->script = [&](const InstrumentFrame&, int) -> std::optional<Pieces> {
    progressAtRequests.push_back(frmMain.prgProcess.value);
    return std::nullopt;
  };
  Buttons whileRunning{};
  bool runningFlag = false;
  duringNextStep([&] {
    whileRunning = buttons();
    runningFlag = frmMain.stepRunning;
  });
  cmdNext_Click();
  EXPECT_EQ(gStep, 1);
  EXPECT_TRUE(p->messages.empty());
  EXPECT_EQ(requestsSeen(), (std::vector<std::pair<int, int>>{{127, 1}, {1, 0}, {2, 0}, {4, 0}, {5, 0}, {6, 0}, {127, 1}}));
  EXPECT_EQ(gModelName, "VQA-7001");
  EXPECT_EQ(gSerialNo, " 54321");
  EXPECT_EQ(gCmd04Value, 5);
  EXPECT_EQ(gCmd06Value, 7);
  EXPECT_EQ(gFwVerMain, 12);
  EXPECT_EQ(gFwVerRev, 3);
  EXPECT_FALSE(p->port.portOpen());
  EXPECT_EQ(p->port.settings(), "307200,O,8,1");
  EXPECT_EQ(whileRunning, (Buttons{off, off, off, off, off}));
  EXPECT_TRUE(runningFlag);
  EXPECT_FALSE(frmMain.stepRunning);
  EXPECT_EQ(buttons(), kAllOn);
  EXPECT_EQ(frmMain.txtProcess.text, "Getting parameters completed.");
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T2b).en);
  EXPECT_EQ(frmMain.stsAppStatus.panel1, "Prameter read");
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "Ready");
  EXPECT_EQ(frmMain.prgProcess.max, 6);
  EXPECT_EQ(frmMain.prgProcess.value, 6);
  EXPECT_EQ(progressAtRequests, (std::vector<int>{1, 2, 3, 4, 5, 6, 6}));
  EXPECT_TRUE(instrument->violations.empty()) << instrument->violations.front();
}

struct PortFailure {
  const char* name;
  std::function<void(virt::VirtualPlatform&)> arrange;
  int code;
};

const PortFailure kPortFailures[] = {
    {"no such port", [](virt::VirtualPlatform& p) { p.port.existingPorts = {}; }, 11},
    {"4 data bits", [](virt::VirtualPlatform&) { gCommDataBits = std::string("4"); }, 15},
    {"1.5 stop bits", [](virt::VirtualPlatform&) { gCommStopBits = std::string("1.5"); }, 15},
    {"port held by another program", [](virt::VirtualPlatform& p) { p.port.busyPorts = {1}; }, 99},
    {"instrument silent", [](virt::VirtualPlatform&) {}, 12},
};

TEST_F(LinkSteps, StepTwoFailuresGoBackToStepOne) {
  for (const auto& c : kPortFailures) {
    SCOPED_TRACE(c.name);
    load();
    c.arrange(*p);
    if (c.code == 12) instrument->script = [](const InstrumentFrame&, int) { return std::optional<Pieces>(Pieces{}); };
    cmdNext_Click();
    expectShowing(c.code);
    EXPECT_EQ(gStep, 0);
    EXPECT_EQ(boldStep(), 1);
    EXPECT_EQ(buttons(), kAllOn);
    EXPECT_FALSE(p->port.portOpen());
    EXPECT_FALSE(frmMain.stepRunning);
    EXPECT_FALSE(gLinkBusy);
  }
}

TEST_F(LinkSteps, NextAfterAFailedStepTwoReadsAgainFromTheStart) {
  instrument->script = [](const InstrumentFrame&, int) { return std::optional<Pieces>(Pieces{}); };
  cmdNext_Click();
  expectShowing(12);
  instrument->script = nullptr;
  instrument->requests.clear();
  cmdNext_Click();
  EXPECT_EQ(gStep, 1);
  EXPECT_EQ(instrument->requests.size(), 7u);
  EXPECT_EQ(instrument->requests.front().Command, 127);
  EXPECT_EQ(gModelName, "VQA-7001");
}

TEST_F(LinkSteps, RetryWorksAfterAFailureThatLeftPcModeOn) {
  // The instrument enters PC mode, then stops answering: the stop keeps the port open.
  instrument->script = FakeInstrument::silentOn(1);
  cmdNext_Click();
  expectShowing(12);
  ASSERT_TRUE(p->port.portOpen());
  instrument->script = nullptr;
  cmdNext_Click();
  EXPECT_EQ(p->messages.size(), 1u);
  EXPECT_EQ(gStep, 1);
  EXPECT_FALSE(p->port.portOpen());
}

TEST_F(LinkSteps, ClearToSendNeverAssertedFailsStepTwoWithTimeout) {
  instrument->ctsFn = [] { return false; };
  cmdNext_Click();
  expectShowing(13);
  EXPECT_EQ(gStep, 0);
  EXPECT_TRUE(instrument->requests.empty());
}

// Replies that leave the identity unread: step 2 must not pass them on to step 7.
struct IdentityCase {
  const char* name;
  int cmd;
  Bytes data;
};

const IdentityCase kIdentityCases[] = {
    {"model of 7 characters", 1, textBytes("VQA-700")},
    {"model of 9 characters", 1, textBytes("VQA-70011")},
    {"no model data", 1, {}},
    {"serial of 5 characters", 2, textBytes("12345")},
    {"serial of 7 characters", 2, textBytes(" 123456")},
};

TEST_F(LinkSteps, StepTwoFailsUnlessItReadTheWholeIdentity) {
  for (const auto& c : kIdentityCases) {
    SCOPED_TRACE(c.name);
    load();
    // An earlier run left a good identity behind: it must not count for this one.
    gModelName = "VQA-7000";
    gSerialNo = " 11111";
    instrument->script = [&](const InstrumentFrame& r, int) -> std::optional<Pieces> {
      if (r.Command != c.cmd) return std::nullopt;
      return Pieces{{300, replyFrame(r.Command, 0, 0, c.data)}};
    };
    cmdNext_Click();
    expectShowing(99);
    EXPECT_EQ(gStep, 0);
    EXPECT_EQ(buttons(), kAllOn);
    EXPECT_EQ(instrument->requests.size(), 7u);  // the batch itself ran to its end
    EXPECT_FALSE(p->port.portOpen());
  }
}

TEST_F(LinkSteps, StepSevenInitialisesAndWritesTheIdentityBack) {
  cmdNext_Click();  // step 2 reads the identity
  ASSERT_EQ(gErrCode, 0);
  instrument->requests.clear();
  instrument->model = "XXXXXXXX";
  instrument->cmd04 = 99;
  bool openWhenWriting = false;
  instrument->script = [&](const InstrumentFrame& r, int nth) -> std::optional<Pieces> {
    if (r.Command == 127 && nth == 2) openWhenWriting = p->port.portOpen();
    return std::nullopt;
  };
  Buttons whileRunning{};
  duringNextStep([&] { whileRunning = buttons(); });
  nextToStep7();
  EXPECT_TRUE(p->messages.empty());
  EXPECT_EQ(gStep, 6);
  EXPECT_EQ(requestsSeen(),
            (std::vector<std::pair<int, int>>{{127, 1}, {124, 1}, {127, 1}, {1, 1}, {2, 1}, {4, 1}, {127, 1}}));
  EXPECT_EQ(instrument->inits, 1);
  EXPECT_EQ(instrument->model, "VQA-7001");
  EXPECT_EQ(instrument->serial, " 54321");
  EXPECT_EQ(instrument->cmd04, 5);
  EXPECT_EQ(instrument->mode, 0);
  EXPECT_TRUE(openWhenWriting);  // PC mode kept the port open between the batches
  EXPECT_EQ(p->port.opens, 2);   // once in step 2, once in step 7
  EXPECT_FALSE(p->port.portOpen());
  EXPECT_EQ(whileRunning, (Buttons{off, off, off, off, off}));
  EXPECT_EQ(buttons(), (Buttons{off, off, off, on, on}));
  EXPECT_EQ(frmMain.txtProcess.text, "Initializing parameters completed.\r\nWriting parameters completed.");
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T7b).en);
  EXPECT_EQ(frmMain.prgProcess.max, 4);
  EXPECT_EQ(frmMain.prgProcess.value, 4);
  EXPECT_FALSE(frmMain.stepRunning);
  EXPECT_TRUE(instrument->violations.empty()) << instrument->violations.front();
}

TEST_F(LinkSteps, StepSevenWorksWhateverReceiveThresholdStepFiveLeft) {
  for (int threshold : {0, 5, 6}) {
    SCOPED_TRACE(threshold);
    load();
    gModelName = "VQA-7001";
    gSerialNo = " 13579";
    p->port.setRThreshold(threshold);
    nextToStep7();
    EXPECT_TRUE(p->messages.empty());
    EXPECT_EQ(instrument->serial, " 13579");
    EXPECT_EQ(instrument->requests.size(), 7u);
  }
}

TEST_F(LinkSteps, TextsOfBothStepsInJapanese) {
  load(1041);
  cmdNext_Click();
  EXPECT_EQ(frmMain.txtProcess.text, "パラメーター取得完了");
  nextToStep7();
  EXPECT_EQ(frmMain.txtProcess.text, "パラメーター初期化完了\r\nパラメーター書き込み完了");
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T7b).ja);
}

TEST_F(LinkSteps, ProgressTextsWhileTheBatchesRun) {
  std::vector<std::string> texts;
  instrument->script = [&](const InstrumentFrame& r, int) -> std::optional<Pieces> {
    if (r.Command == 127) texts.push_back(frmMain.txtProcess.text);
    return std::nullopt;
  };
  cmdNext_Click();
  nextToStep7();
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "Now getting parameters. . .", "Now getting parameters. . .",
                       "Now initializing parameters. . .",
                       "Initializing parameters completed.\r\nNow writing parameters. . .",
                       "Initializing parameters completed.\r\nNow writing parameters. . ."}));
}

// The initialise batch fails in two ways: refused before PC mode (port closed by the stop),
// and the initialise reply never coming (PC mode on, port kept open).
struct InitFailure {
  const char* name;
  std::function<std::optional<Pieces>(const InstrumentFrame&, int)> script;
  int code;
  int opens;  // port openings in step 7
};

std::optional<Pieces> refuseInitCode(const InstrumentFrame& r, int) {
  if (r.Command == 127 && r.Data.size() == 9) return Pieces{{300, replyFrame(127, 10, 1, {0})}};
  return std::nullopt;
}

std::optional<Pieces> silentInit(const InstrumentFrame& r, int) {
  if (r.Command == 124) return Pieces{};
  return std::nullopt;
}

TEST_F(LinkSteps, FailedInitialiseStillRestoresTheIdentityAndFailsTheStep) {
  const InitFailure cases[] = {
      {"access code refused", refuseInitCode, 12, 2},
      {"initialise never answered", silentInit, 13, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    load();
    gModelName = "VQA-7000";
    gSerialNo = " 24680";
    gCmd04Value = 3;
    instrument->script = c.script;
    nextToStep7();
    expectShowing(c.code);
    EXPECT_EQ(instrument->model, "VQA-7000");
    EXPECT_EQ(instrument->serial, " 24680");
    EXPECT_EQ(instrument->cmd04, 3);
    EXPECT_EQ(p->port.opens, c.opens);
    EXPECT_FALSE(p->port.portOpen());
    EXPECT_EQ(gStep, 5);
    EXPECT_EQ(boldStep(), 6);
    EXPECT_EQ(buttons(), kOnlyNext);
    EXPECT_FALSE(frmMain.stepRunning);

    // The next Next repeats the whole step.
    instrument->script = nullptr;
    instrument->requests.clear();
    cmdNext_Click();
    EXPECT_EQ(gStep, 6);
    EXPECT_EQ(p->messages.size(), 1u);
    EXPECT_EQ(requestsSeen().at(1), (std::pair<int, int>{124, 1}));
    EXPECT_EQ(instrument->model, "VQA-7000");
  }
}

// A failed write batch fails step 7; when the initialise batch failed too, the code set last
// (the write batch's) is the one shown.
TEST_F(LinkSteps, WriteBatchFailureFailsStepSeven) {
  const InitFailure cases[] = {
      {"write of command 2 unanswered",
       [](const InstrumentFrame& r, int) -> std::optional<Pieces> {
         if (r.Command == 2 && r.Direction == 1) return Pieces{};
         return std::nullopt;
       },
       12, 1},
      {"initialise unanswered (13), then the write batch's code refused (12)",
       [](const InstrumentFrame& r, int) -> std::optional<Pieces> {
         if (r.Command == 124) return Pieces{};
         if (r.Command == 127 && r.Data.size() == 7) return Pieces{{300, replyFrame(127, 10, 1, {0})}};
         return std::nullopt;
       },
       12, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    load();
    instrument->script = c.script;
    gModelName = "VQA-7001";
    gSerialNo = " 13579";
    nextToStep7();
    expectShowing(c.code);
    EXPECT_EQ(gStep, 5);
    EXPECT_EQ(buttons(), kOnlyNext);
  }
}

TEST_F(LinkSteps, ForcedUpdateFromStepOneWritesTheDialogsValues) {
  p->onForceUpdateDialog = [] {
    frmForceUpdate_Load();
    frmForceUpdate.cboModel.listIndex = 1;
    frmForceUpdate.txtSerial.text = "12345";
    frmForceUpdate_cmdSet_Click();
  };
  cmdForceUpdate_Click();
  ASSERT_EQ(gStep, 2);
  EXPECT_EQ(frmMain.lblFWOld.caption, "Ver.0.0.0");
  nextToStep7();
  EXPECT_TRUE(p->messages.empty());
  ASSERT_NE(lastWriteOf(1), nullptr);
  EXPECT_EQ(lastWriteOf(1)->Data, textBytes("VQA-7000"));
  EXPECT_EQ(lastWriteOf(2)->Data, textBytes(" 12345"));
  EXPECT_EQ(lastWriteOf(4)->Data, (Bytes{0, 0}));
  EXPECT_EQ(instrument->model, "VQA-7000");
  EXPECT_EQ(instrument->serial, " 12345");
}

}  // namespace
}  // namespace vq::test
