// The main window: start-up, the buttons' click procedures, the close box, and the routing of
// timer ticks and serial events to whichever protocol the current step speaks.
#include "app/frm_main.h"

#include <string>

#include "app/file_select.h"
#include "app/frm_force_update.h"
#include "app/reset_all_state.h"
#include "app/sequencer.h"
#include "app/update_attempt.h"
#include "app/update_journal_steps.h"
#include "base/state.h"
#include "base/texts.h"
#include "config/frm_port_conf.h"
#include "flash/boot_exchange.h"
#include "link/link_engine.h"
#include "platform/app_windows.h"

namespace vq {

namespace {

constexpr const char* kDesignCaption = "VQ SYSTEM  Firmware update tool";
constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 1;
constexpr int kVersionRevision = 0;

// The instrument link's line settings at start-up; steps 2 and 7 apply the chosen ones.
constexpr const char* kStartSettings = "307200,o,8,1";

std::string windowCaption() {
  return std::string(kDesignCaption) + " (Ver" + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision) + ")";
}

void setCaptions() {
  struct Caption {
    std::string* target;
    Text text;
  };
  const Caption captions[] = {
      {&frmMain.fraProcess.caption, {"処理状況", "Processing status"}},
      {&frmMain.lblProcess[0].caption, {"１．開始", "1. Start"}},
      {&frmMain.lblProcess[1].caption, {"２．更新前パラメーター取得", "2. Getting parameters"}},
      {&frmMain.lblProcess[2].caption, {"３．バージョン確認", "3. Checking the version"}},
      {&frmMain.lblProcess[3].caption, {"４．ファームウェア更新準備", "4. Preparing firmware update"}},
      {&frmMain.lblProcess[4].caption, {"５．ファームウェア更新", "5. Firmware update"}},
      {&frmMain.lblProcess[5].caption, {"６．パラメーター更新準備", "6. Preparing parameter update"}},
      {&frmMain.lblProcess[6].caption, {"７．パラメーター更新", "7. Parameter update"}},
      {&frmMain.lblProcess[7].caption, {"８．終了", "8. Quit"}},
      {&frmMain.fraFWInfo.caption, {"ファームウェア情報", "Firmware information"}},
      {&frmMain.lblFWFileTitle.caption, {"更新用ファイル：", "Updating file :"}},
      {&frmMain.lblFWOldTitle.caption, {"更新前", "Before update"}},
      {&frmMain.lblFWNewTitle.caption, {"更新後", "After update"}},
      {&frmMain.cmdCommSetting.caption, {"通信設定", "Comm settings"}},
      {&frmMain.cmdForceUpdate.caption, {"強制更新", "Forced  update"}},
      {&frmMain.cmdCancel.caption, {"中止", "Stop"}},
      {&frmMain.cmdNext.caption, {"次へ ＞", "Next ->"}},
  };
  for (const auto& c : captions) *c.target = pick(c.text);
}

}  // namespace

void frmMain_Load() {
  resetAllState();
  resetUpdateAttempt();
  resetJournalSteps();

  gLangId = static_cast<std::int16_t>(platform().systemLangId());
  frmMain.caption = windowCaption();

  // One face for every control of the window, the status bar included.
  frmMain.fontName = windowFont();
  setCaptions();

  frmMain.lblFWOld.caption = "Unkonwn";
  frmMain.lblFWNew.caption = "No select";
  frmMain.lblFWTo.caption = "--->";
  frmMain.cmdFWFileSel.caption = "...";

  // A receive event for every byte; input() always takes everything buffered, as bytes.
  SerialPort& port = mscComm();
  port.setRThreshold(1);
  port.setCommPort(1);
  port.setHandshaking(0);
  port.setSettings(kStartSettings);

  tmrComm().setEnabled(false);
  tmrComm().setInterval(0);

  mscComm().onComm = mscComm_OnComm;
  tmrComm().onTick = tmrComm_Timer;

  // Directly, not through the sequencer: no busy cursor and no error display at start-up.
  subStep1Start();
}

void cmdNext_Click() {
  ++gStep;
  if (gStep == 8) {
    cmdCancel_Click();
    return;
  }
  subSequencer();
  const int ranStep = gStep + 1;
  const int code = gErrCode;
  if (code != 0) {
    // Back to the step before the failed one, so that Next retries it from its beginning; the
    // port's problem stays in view there.
    const PortProblem problem = mscComm().problem;
    --gStep;
    subSequencer();
    subShowPortProblem(problem);
  }
  if (ranStep == 2) subOfferSavedIdentity(code);
}

void cmdCancel_Click() {
  // Stop must not end the program where the close box is refused: mid-step the instrument
  // would be left half-written or without its identity.
  if (frmMain.stepRunning) return;
  windows().quit();
}

void cmdFWFileSel_Click() { subSelectFile(); }

void cmdCommSetting_Click() { subSetPort(mscComm()); }

void cmdForceUpdate_Click() {
  frmForceUpdate_Load();
  windows().showForceUpdateDialog();
  if (gForceUpdate) {
    gStep = 2;  // the sequencer then shows step 3, the version check
    subSequencer();
  }
}

bool frmMain_QueryUnload() { return !frmMain.stepRunning; }

void tmrComm_Timer() {
  switch (gStep) {
    case kStepReadParameters:
    case kStepUpdateParameters: subCommSend(); break;
    case kStepFirmwareUpdate: subBootTimeout(); break;
    default: break;
  }
}

void mscComm_OnComm(CommEvent ev) {
  switch (gStep) {
    case kStepReadParameters:
    case kStepUpdateParameters: subCommReceive(ev); break;
    case kStepFirmwareUpdate: subBootReceive(ev); break;
    default: break;
  }
}

}  // namespace vq
