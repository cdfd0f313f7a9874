// Start-up: language, captions, fonts, the port and timer as left for the steps, step 1 shown.
#include "app/step_texts.h"
#include "base/comm_settings.h"
#include "base/firmware_file.h"
#include "base/link_state.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

using StartUp = WizardTest;

struct LanguageCase {
  int langId;
  const char* font;
  const char* fraProcess;
  const char* lblProcess08;
  const char* lblFWFileTitle;
  const char* cmdForceUpdate;
  const char* cmdCancel;
  const char* cmdNext;
};

const LanguageCase kLanguages[] = {
    {1041, "ＭＳ ゴシック", "処理状況", "８．終了", "更新用ファイル：", "強制更新", "中止", "次へ ＞"},
    {1033, "Courier New", "Processing status", "8. Quit", "Updating file :", "Forced  update", "Stop",
     "Next ->"},
    // Another East Asian language still gets English.
    {2052, "Courier New", "Processing status", "8. Quit", "Updating file :", "Forced  update", "Stop",
     "Next ->"},
};

TEST_F(StartUp, PicksCaptionsAndFontByLanguageId) {
  for (const auto& c : kLanguages) {
    SCOPED_TRACE(c.langId);
    load(c.langId);
    EXPECT_EQ(gLangId, c.langId);
    EXPECT_EQ(frmMain.fontName, c.font);
    EXPECT_EQ(frmMain.fraProcess.caption, c.fraProcess);
    EXPECT_EQ(frmMain.lblProcess[7].caption, c.lblProcess08);
    EXPECT_EQ(frmMain.lblFWFileTitle.caption, c.lblFWFileTitle);
    EXPECT_EQ(frmMain.cmdForceUpdate.caption, c.cmdForceUpdate);
    EXPECT_EQ(frmMain.cmdCancel.caption, c.cmdCancel);
    EXPECT_EQ(frmMain.cmdNext.caption, c.cmdNext);

    // The same in every language.
    EXPECT_EQ(frmMain.caption, "VQ SYSTEM  Firmware update tool (Ver1.1.0)");
    EXPECT_EQ(frmMain.lblFWFile.caption, "");
    EXPECT_EQ(frmMain.lblFWOld.caption, "Unkonwn");
    EXPECT_EQ(frmMain.lblFWNew.caption, "No select");
    EXPECT_EQ(frmMain.lblFWTo.caption, "--->");
    EXPECT_EQ(frmMain.cmdFWFileSel.caption, "...");
    EXPECT_EQ(frmMain.txtProcess.text, "");
  }
}

TEST_F(StartUp, LeavesThePortClosedWithLinkDefaultsAndTheTimerStopped) {
  EXPECT_FALSE(p->port.portOpen());
  EXPECT_EQ(p->port.opens, 0);
  EXPECT_EQ(p->port.commPort(), 1);
  EXPECT_EQ(p->port.settings(), "307200,o,8,1");
  EXPECT_EQ(p->port.handshaking(), 0);
  EXPECT_EQ(p->port.rThreshold(), 1);
  EXPECT_FALSE(p->timer.enabled());
  EXPECT_EQ(p->timer.interval(), 0);
  EXPECT_TRUE(p->port.onComm);
  EXPECT_TRUE(p->timer.onTick);
  EXPECT_EQ(frmMain.prgProcess.min, 0);
  EXPECT_EQ(frmMain.prgProcess.max, 1);
  EXPECT_EQ(frmMain.prgProcess.value, 0);
}

TEST_F(StartUp, ShowsStepOneWithoutBusyCursorOrMessages) {
  EXPECT_EQ(gStep, 0);
  EXPECT_EQ(boldStep(), 1);
  EXPECT_EQ(frmMain.txtInfo.text, stepText(InfoText::T1).en);
  EXPECT_EQ(frmMain.stsAppStatus.panel1, "Update start");
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "");
  EXPECT_EQ(buttons(), (Buttons{on, on, on, on, on}));
  EXPECT_FALSE(p->busy);
  EXPECT_FALSE(frmMain.busyCursor);
  EXPECT_TRUE(p->messages.empty());
  EXPECT_TRUE(frmMain_QueryUnload());
}

TEST_F(StartUp, ForgetsWhatAnEarlierRunLeftBehind) {
  gStep = 5;
  gErrCode = 33;
  gFileValid = true;
  gLinkBusy = true;
  gCommPort = 4;
  gCommBaud = "9600";
  frmMain.lblProcess[5].bold = true;
  frmMain.cmdNext.caption = "End";
  frmMain.stepRunning = true;
  load(1033);
  EXPECT_EQ(gStep, 0);
  EXPECT_EQ(gErrCode, 0);
  EXPECT_FALSE(gFileValid);
  EXPECT_FALSE(gLinkBusy);
  EXPECT_EQ(gCommPort, 1);
  EXPECT_EQ(gCommBaud, "307200");
  EXPECT_EQ(gUpdateBaud, 3);
  EXPECT_EQ(boldStep(), 1);
  EXPECT_EQ(frmMain.cmdNext.caption, "Next ->");
  EXPECT_TRUE(frmMain_QueryUnload());
}

}  // namespace
}  // namespace vq::test
