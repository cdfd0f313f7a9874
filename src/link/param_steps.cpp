#include "link/param_steps.h"

#include <string>

#include "app/frm_main.h"
#include "app/sequencer.h"
#include "app/state.h"
#include "app/step_texts.h"
#include "app/texts.h"
#include "config/comm_settings.h"
#include "config/port_scan.h"
#include "link/bas_command_send.h"
#include "link/bas_function.h"
#include "link/link_engine.h"
#include "link/link_state.h"
#include "link/param_store.h"

namespace vq {

namespace {

// Codes of the run-time failures the two steps catch.
constexpr std::uint8_t kErrNoPort = 11;
constexpr std::uint8_t kErrBadSettings = 15;
constexpr std::uint8_t kErrUnknown = 99;

// Progress texts of the two steps.
constexpr Text kTxtGetting{"パラメーター取得中 ………",
    "Now getting parameters. . ."};
constexpr Text kTxtGot{"パラメーター取得完了",
    "Getting parameters completed."};
constexpr Text kTxtInitialising{"パラメーター初期化中 ………",
    "Now initializing parameters. . ."};
constexpr Text kTxtWriting{"パラメーター初期化完了\r\nパラメーター書き込み中 ………",
    "Initializing parameters completed.\r\nNow writing parameters. . ."};
constexpr Text kTxtWritten{"パラメーター初期化完了\r\nパラメーター書き込み完了",
    "Initializing parameters completed.\r\nWriting parameters completed."};

std::uint8_t codeOfPortError(int number) {
  switch (number) {
    case kErrNoSuchPort: return kErrNoPort;
    case kErrSettingsRejected: return kErrBadSettings;
    default: return kErrUnknown;
  }
}

void openLinkPort() {
  SerialPort& port = mscComm();
  // A batch that failed while the instrument was in PC mode left the port open; without this
  // the retry that Next offers could never open it again.
  if (port.portOpen()) port.setPortOpen(false);
  port.setCommPort(gCommPort);
  port.setSettings(fncLinkSettings());
  port.setHandshaking(gCommFlow);
  // The link assembles replies byte by byte: step 5 leaves the thresholds at its reply
  // lengths, and a reply whose tail is shorter than that would never raise its event.
  port.setRThreshold(1);
  port.setSThreshold(0);
  port.setPortOpen(true);
}

// An empty queue is index 0: subAddCommand cuts the queue back as it goes.
std::int32_t startQueue() {
  tmrComm().setEnabled(false);
  tmrComm().setInterval(kLinkTickMs);
  return 0;
}

// Runs the queued batch through the link engine and waits for it, the window kept alive.
void runBatch(std::int32_t count, const Text& progressText) {
  gLinkPortError = 0;
  gLinkBusy = true;
  gReqLast = count - 1;
  gReqRemain = gReqLast;
  const std::int32_t last = gReqLast;  // the engine sets gReqLast to 0 when it goes idle
  frmMain.txtProcess.text = pick(progressText);
  frmMain.prgProcess.max = last;
  frmMain.prgProcess.min = 0;
  frmMain.prgProcess.value = gReqLast - gReqRemain;
  subFirstSend();
  while (gLinkBusy) {
    if (gReqRemain >= 0) frmMain.prgProcess.value = gReqLast - gReqRemain;
    platform().waitEvents();
  }
  frmMain.prgProcess.value = last;
  if (gLinkPortError != 0) gErrCode = codeOfPortError(gLinkPortError);
}

// Turns a failure thrown while a step runs into its code and leaves the engine idle.
void catchStepFailure(std::uint8_t code) {
  gErrCode = code;
  if (gLinkBusy) subCommAbandon();
}

void readParameters() {
  openLinkPort();
  subStepScreen(2);
  subSetButtons(ButtonMoment::Step2Start);

  std::int32_t index = startQueue();
  gModelNameStored = false;
  gSerialNoStored = false;
  queueReadBatch(index);
  runBatch(index, kTxtGetting);

  // Without a fresh identity step 7 would write a blank or stale one back after the
  // instrument has initialised its parameters, and the real one would be lost.
  if (gErrCode == 0 && !(gModelNameStored && gSerialNoStored)) gErrCode = kErrUnknown;
  if (gErrCode != 0) return;

  frmMain.txtProcess.text = pick(kTxtGot);
  frmMain.txtInfo.text = pick(stepText(InfoText::T2b));
  subSetButtons(ButtonMoment::Step2Success);
}

void updateParameters() {
  openLinkPort();
  subStepScreen(7);
  subSetButtons(ButtonMoment::Step7Start);

  std::int32_t index = startQueue();
  queueInitBatch(index);
  runBatch(index, kTxtInitialising);
  const std::uint8_t initCode = gErrCode;

  // The identity goes back whatever the initialise batch gave. A failed batch closes the
  // port (PC mode off), so it is opened again for the write batch.
  index = startQueue();
  queueWriteBackBatch(index);
  if (!mscComm().portOpen()) openLinkPort();
  runBatch(index, kTxtWriting);
  if (initCode != 0) gErrCode = initCode;
  if (gErrCode != 0) return;

  frmMain.txtProcess.text = pick(kTxtWritten);
  frmMain.txtInfo.text = pick(stepText(InfoText::T7b));
  subSetButtons(ButtonMoment::Step7Success);
}

template <class Body>
void runCatching(Body body) {
  try {
    body();
  } catch (const SerialError& e) {
    catchStepFailure(codeOfPortError(e.number));
  } catch (const std::exception&) {
    catchStepFailure(kErrUnknown);
  }
}

}  // namespace

void subStep2ReadParameters() { runCatching(readParameters); }

void subStep7UpdateParameters() { runCatching(updateParameters); }

}  // namespace vq
