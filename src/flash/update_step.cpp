// The flash work of step 5: the image, the boot-mode port, the flash stages in order, the
// port closed again. The wizard puts its screen around it.
#include "flash/update_step.h"

#include <exception>

#include "base/boot_state.h"
#include "base/comm_settings.h"
#include "base/state.h"
#include "base/wizard_codes.h"
#include "flash/boot_frames.h"
#include "flash/boot_stages.h"
#include "image/write_blocks.h"
#include "platform/platform.h"

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
    gErrCode = kCodeFlashRunTime;
  }
}

// A stage runs only while every stage before it succeeded; its result is the step's.
template <typename Stage>
void runStage(Stage&& stage) {
  if (gFlashResult != kResultOk) return;
  attempt([&] { gFlashResult = stage(); });
}

}  // namespace

void subRunFlashStages() {
  gFlashResult = kResultOk;
  runStage(subReadBinFile);

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
}

}  // namespace vq
