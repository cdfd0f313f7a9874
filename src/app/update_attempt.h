// Which steps make up one attempted update, for the update record: an attempt starts with
// step 2 (or the forced jump to step 3, or a retried step 5 or 7) and ends with a failed step,
// with step 7's success, or with the program closed in between. The front end installs the
// sink that writes the record; without one nothing is recorded.
#pragma once
#include <cstdint>

#include "base/update_record.h"

namespace vq {

void installUpdateRecordSink(UpdateRecordSink* sink);

// The sequencer's two calls around every step it runs (stepNo 1..8; gErrCode after it).
void noteStepStarting(int stepNo);
void noteStepEnded(int stepNo);
// The program ends, or the operator stopped it: an attempt still open is recorded as stopped
// at the step on screen (or running).
void noteUpdateStopped();

// The record of the wizard as it stands, ended with this result at this step (none for 0):
// what the sink gets, and what vq-update-cli prints for a run that never began an attempt.
UpdateRecord fncRecordNow(int result, int failedStep);

void resetUpdateAttempt();

}  // namespace vq
