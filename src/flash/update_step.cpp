// Step 5: the image, the boot-mode port, the flash stages in order, the port closed again.
#include "flash/update_step.h"

#include <exception>

#include "app/frm_main.h"
#include "app/sequencer.h"
#include "app/state.h"
#include "app/step_texts.h"
#include "config/comm_settings.h"
#include "flash/boot_frames.h"
#include "flash/boot_stages.h"
#include "flash/boot_state.h"
#include "image/write_blocks.h"

namespace vq {

namespace {

// A run-time failure of one statement (the port refusing a setting, a reply too short for its
// LEN) fails the step with code 30 and goes on with the next statement, so the port is still
// closed at the end.
template <typename F>
void attempt(F&& statement) {
  try {
    statement();
  } catch (const std::exception&) {
    gFlashResult = kResultRunTimeFailure;
    gErrCode = kErrCodeRunTime;
  }
}

template <typename F>
void runStage(F&& stage) {
  if (gFlashResult != kResultOk) return;
  attempt([&] { stage(gFlashResult); });
}

}  // namespace

void subStep5FirmwareUpdate() {
  subStepScreen(5);
  subSetButtons(ButtonMoment::Step5Start);

  gFlashResult = kResultOk;
  attempt([] { subReadBinFile(gFlashResult); });

  SerialPort& port = mscComm();
  attempt([&] { port.setCommPort(gCommPort); });
  attempt([&] { port.setSettings(kBootModeSettings); });
  attempt([&] { port.setRThreshold(0); });  // no receive events until an exchange asks
  attempt([&] { port.setRTSEnable(false); });
  attempt([&] { port.setDTREnable(false); });
  attempt([&] { port.setPortOpen(true); });

  runStage(subBootConnect);
  runStage(subBootSetClock);
  runStage(subBootSetBaudRate);
  runStage(subBootChipErase);
  runStage(subBootWrite);
  runStage(subBootSecuritySet);
  runStage(subBootVerify);

  // A stage that failed mid-exchange may leave tmrComm armed; its tick must not reach the
  // next run of this step.
  attempt([] {
    tmrComm().setEnabled(false);
    tmrComm().setInterval(0);
  });
  attempt([&] { port.setPortOpen(false); });
  attempt([&] { port.setRTSEnable(false); });
  attempt([&] { port.setDTREnable(false); });
  // The exchanges leave the thresholds at a status frame's length; the instrument link of
  // step 7 reads its replies with an event per byte, as start-up set the port.
  attempt([&] {
    port.setRThreshold(1);
    port.setSThreshold(0);
  });

  if (gErrCode != 0) return;
  frmMain.txtInfo.text = pick(stepText(InfoText::T5b));
  subSetButtons(ButtonMoment::Step5Success);
}

}  // namespace vq
