#include "app/update_attempt.h"

#include "base/comm_settings.h"
#include "base/firmware_file.h"
#include "base/forms.h"
#include "base/param_store.h"
#include "base/state.h"
#include "base/version_text.h"

namespace vq {

namespace {

UpdateRecordSink* gSink = nullptr;

struct Attempt {
  bool open = false;
  std::int64_t startMs = 0;
};
Attempt gAttempt;

// What the instrument holds, as far as this run knows: the version step 2 read, then the file's
// once step 5 verified it; nothing while step 5 has failed part way.
bool gBeforeKnown = false;
enum class Flash { Untouched, Written, Unknown };
Flash gFlash = Flash::Untouched;

void end(int result, int failedStep) {
  if (!gAttempt.open) return;
  gAttempt.open = false;
  if (!gSink) return;
  UpdateRecord r = fncRecordNow(result, failedStep);
  r.durationS = double(gSink->nowMs() - gAttempt.startMs) / 1000.0;
  gSink->write(std::move(r));
}

}  // namespace

void installUpdateRecordSink(UpdateRecordSink* sink) { gSink = sink; }

void noteStepStarting(int stepNo) {
  if (stepNo == 5) gFlash = Flash::Unknown;
  if (gAttempt.open) return;
  const bool begins = stepNo == 2 || stepNo == 5 || stepNo == 7 || (stepNo == 3 && gForceUpdate);
  if (!begins) return;
  gAttempt.open = true;
  gAttempt.startMs = gSink ? gSink->nowMs() : 0;
}

void noteStepEnded(int stepNo) {
  const bool ok = gErrCode == 0;
  if (stepNo == 2 && ok) gBeforeKnown = true;
  if (stepNo == 5 && ok) gFlash = Flash::Written;
  if (stepNo != 2 && stepNo != 5 && stepNo != 7) return;
  if (!ok) end(gErrCode, stepNo);
  else if (stepNo == 7) end(0, 0);
}

void noteUpdateStopped() { end(kResultStopped, gStep + 1); }

UpdateRecord fncRecordNow(int result, int failedStep) {
  UpdateRecord r;
  r.comPort = gCommPort;
  r.port = "COM" + std::to_string(gCommPort);
  r.model = gModelName;
  r.serial = gSerialNo;
  if (gBeforeKnown) r.firmwareBefore = fncVersionText(gFwOldMain, gFwOldRev);
  // The version the file selection showed for the file step 5 wrote.
  if (gFlash == Flash::Written && gFileValid) r.firmwareAfter = frmMain.lblFWNew.caption;
  else if (gFlash == Flash::Untouched) r.firmwareAfter = r.firmwareBefore;
  r.fileName = gFileTitle;
  r.result = result;
  if (result != 0) r.failedStep = failedStep;
  return r;
}

void resetUpdateAttempt() {
  gAttempt = {};
  gBeforeKnown = false;
  gFlash = Flash::Untouched;
}

}  // namespace vq
