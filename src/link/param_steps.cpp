// The instrument-link work of steps 2 and 7: the port opened with the link settings, the
// batches queued and run, their progress lines. The wizard puts its screen around them.
#include "link/param_steps.h"

#include <exception>
#include <string>

#include "base/comm_settings.h"
#include "base/link_state.h"
#include "base/param_store.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "base/wizard_codes.h"
#include "config/port_scan.h"
#include "link/bas_command_send.h"
#include "link/link_engine.h"

namespace vq {

namespace {

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

// An empty queue is index 0: subAddCommand cuts the queue back as it goes.
std::int32_t startQueue() {
  tmrComm().setEnabled(false);
  tmrComm().setInterval(kLinkTickMs);
  return 0;
}

void runBatch(std::int32_t count, const Text& progressText) {
  progress().line(pick(progressText), ProgressLine::Restart);
  subRunBatch(count);
}

// Turns a failure thrown while a step runs into its code and leaves the engine idle.
void catchStepFailure(std::uint8_t code) {
  gErrCode = code;
  if (gLinkBusy) subEndBatch(BatchEnd::PortFailed);
}

}  // namespace

void subOpenLinkPort() {
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

void subReadParameterBatch() {
  std::int32_t index = startQueue();
  gModelNameStored = false;
  gSerialNoStored = false;
  queueReadBatch(index);
  runBatch(index, kTxtGetting);

  // Without a fresh identity step 7 would write a blank or stale one back after the
  // instrument has initialised its parameters, and the real one would be lost.
  if (gErrCode == 0 && !(gModelNameStored && gSerialNoStored)) gErrCode = kCodeUnknown;
  if (gErrCode != 0) return;
  progress().line(pick(kTxtGot), ProgressLine::Restart);
}

void subUpdateParameterBatches() {
  std::int32_t index = startQueue();
  queueInitBatch(index);
  runBatch(index, kTxtInitialising);

  // The identity goes back whatever the initialise batch gave. A failed batch closes the
  // port (PC mode off), so it is opened again for the write batch. A code of the initialise
  // batch stands unless the write batch fails too: then the code set last is shown.
  index = startQueue();
  queueWriteBackBatch(index);
  if (!mscComm().portOpen()) subOpenLinkPort();
  runBatch(index, kTxtWriting);
  if (gErrCode != 0) return;
  progress().line(pick(kTxtWritten), ProgressLine::Restart);
}

void subRunLinkStep(const std::function<void()>& body) {
  try {
    body();
  } catch (const SerialError& e) {
    catchStepFailure(fncLinkCodeOfPortError(e.number));
  } catch (const std::exception&) {
    catchStepFailure(kCodeUnknown);
  }
}

}  // namespace vq
