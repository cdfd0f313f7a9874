#include "link/link_engine.h"

#include "base/link_state.h"
#include "base/param_store.h"
#include "base/progress.h"
#include "base/state.h"
#include "link/bas_command_recv.h"
#include "link/bas_command_send.h"
#include "link/bas_function.h"
#include "link/link_engine_state.h"

namespace vq {

namespace {

void setLinkText(const char* text) { progress().linkState(text); }

// Back to the 10 ms pacing once the reply to command 124 has come (or the wait was given up).
void endInitReplyWait() {
  if (!gAwaitInitReply) return;
  gAwaitInitReply = false;
  tmrComm().setInterval(kLinkTickMs);
}

// Raises RTS and writes gTxBuffer once clear-to-send is there. False when the send did not
// happen: the batch was stopped meanwhile, or clear-to-send never came (code 13).
bool sendTxBuffer() {
  SerialPort& port = mscComm();
  port.setRTSEnable(true);
  int polls = 0;
  for (;;) {
    if (port.ctsHolding()) {
      port.output(gTxBuffer);
      port.setRTSEnable(false);
      --gReqRemain;
      return true;
    }
    platform().doEvents();
    if (gReqRemain < 0) {  // stopped during the yield
      port.setRTSEnable(false);
      return false;
    }
    if (++polls > kCtsPollLimit) {
      subCommStop();
      gErrCode = kCodeLinkTimeout;
      port.setRTSEnable(false);
      return false;
    }
  }
}

// After a request written by a tick. The reply to 124 is not repeated: tmrComm is re-armed
// only as the bound of its wait.
void afterTickWrite() {
  setLinkText("Wait");
  progress().showNow();
  if (gTxBuffer.size() > kCommandOffset && gTxBuffer[kCommandOffset] == kCmdInitParams) {
    tmrComm().setEnabled(false);
    gAwaitInitReply = true;
    tmrComm().setInterval(kInitReplyLimitMs);
    tmrComm().setEnabled(true);
  }
}

// A failed port cannot be handed up through the event loop: note it and stop the batch.
template <class Body>
void guarded(Body body) {
  try {
    body();
  } catch (const SerialError& e) {
    gLinkPortError = e.number;
    subEndBatch(BatchEnd::PortFailed);
  }
}

void commSend() {
  if (!gLinkBusy) {  // a tick left over from a finished batch
    tmrComm().setEnabled(false);
    return;
  }
  if (gAwaitInitReply) {  // the bound of the 124 wait ran out
    endInitReplyWait();
    gErrCode = kCodeLinkTimeout;
    subCommStop();
    return;
  }
  if (gReplyOk) {
    gRetryCount = 0;
    if (gReqRemain < 0) {
      subEndBatch(BatchEnd::Completed);
      return;
    }
    gReplyOk = false;
    gBusyReplies = 0;
    gTxBuffer = encodeRequest(gReqQueue[std::size_t(gReqLast - gReqRemain)]);
    setLinkText("Send");
  } else {
    if (++gRetryCount > kLinkRetryLimit) {
      gRetryCount = 0;
      gErrCode = kCodeLinkRetries;
      subCommStop();
      return;
    }
    ++gReqRemain;  // back to the unanswered request; gTxBuffer still holds it
    setLinkText("Retry");
  }
  if (sendTxBuffer()) afterTickWrite();
}

// A reply (its checksum right) to another command than the one in flight: the late answer to
// an earlier request, arriving behind that request's repeats. Taken as the answer, it would
// stand in for one still to come, and a batch could end before its last request was answered.
bool answersAnotherRequest(const InstrumentFrame& reply) {
  return gTxBuffer.size() > kCommandOffset && reply.Command != gTxBuffer[kCommandOffset];
}

// Forgets the reply being assembled and the bytes received for it.
void dropReceived() {
  gRxBuffer.clear();
  gRxExpected = kRxLengthUnknown;
}

void commReceive(CommEvent ev) {
  // The device went away: the batch ends now, not at its next tick or its bound.
  if (ev == CommEvent::PortFailed && gLinkBusy) throw SerialError(kPortFailure, "the device went away");
  SerialPort& port = mscComm();
  if (!port.portOpen()) return;
  if (ev == CommEvent::CtsChange) {
    port.setRTSEnable(port.ctsHolding());
    return;
  }
  if (ev != CommEvent::Receive) return;
  // With no batch running nothing is in flight: what comes is late (an answer to a repeat)
  // and would otherwise start the first reply of the next batch.
  auto dropIfIdle = [&port] {
    if (gLinkBusy) return false;
    port.input();
    dropReceived();
    return true;
  };
  if (dropIfIdle()) return;

  setLinkText("Recv");
  progress().showNow();  // may run events: the batch can end meanwhile
  if (dropIfIdle()) return;
  // The read takes everything buffered. No discard after it: on a real driver bytes keep
  // arriving meanwhile, and a discard would throw away the rest of the reply being assembled.
  const Bytes in = port.input();
  gRxBuffer.insert(gRxBuffer.end(), in.begin(), in.end());

  bool corrupt = false;
  if (gRxBuffer.size() > kLengthOffset) {
    const std::uint8_t n = gRxBuffer[kLengthOffset];
    if (n > kMaxReplyData) {
      corrupt = true;  // longer than any reply can be: drop it, as if nothing had come
    } else {
      gRxExpected = std::uint8_t(n + kReplyOverhead);
    }
  }
  if (!corrupt && gRxBuffer.size() < gRxExpected) return;

  if (!corrupt) decodeReply(gRxBuffer, gRxFrame);
  dropReceived();  // bytes beyond the frame go with it
  const bool sumRight = !corrupt && fncCheckSum(gRxFrame);
  if (sumRight && answersAnotherRequest(gRxFrame)) {
    setLinkText("Wait");
    return;  // the wait for the answer goes on, its tick or its bound as they were
  }

  tmrComm().setEnabled(false);
  endInitReplyWait();
  if (!sumRight) {
    gReplyOk = false;
  } else {
    switch (replyClass(gRxFrame.Status)) {
      case ReplyClass::Accepted:
        subDispatchReply(gRxFrame);
        gReplyOk = true;
        break;
      case ReplyClass::Busy:
        if (++gBusyReplies <= kBusyReplyLimit) gRetryCount = 0;
        break;
      case ReplyClass::Rejected: break;
    }
  }

  if (gReqRemain < 0 && gReplyOk) {
    subEndBatch(BatchEnd::Completed);
    return;
  }
  tmrComm().setEnabled(true);
  setLinkText("Wait");
  progress().showNow();
  platform().doEvents();
}

}  // namespace

void subClearQueue() {
  for (InstrumentFrame& e : gReqQueue) {
    e.Sync.fill(0);
    e.Command = 0;
    e.Checksum = 0;
  }
}

void subClearRxFrame() {
  gRxFrame.Sync.fill(0);
  gRxFrame.Command = 0;
  gRxFrame.Status = 0;
  gRxFrame.Checksum = 0;
}

void subFirstSend() {
  for (InstrumentFrame& e : gReqQueue) {
    e.Checksum = fncCalcSum(e);
    platform().doEvents();
  }
  gTxBuffer = encodeRequest(gReqQueue.at(0));
  setLinkText("Send");
  gReplyOk = false;
  gRetryCount = 0;
  gBusyReplies = 0;
  if (!sendTxBuffer()) return;
  progress().showNow();
  platform().doEvents();
  setLinkText("Wait");
  tmrComm().setEnabled(true);
}

void subCommSend() { guarded(commSend); }

void subCommReceive(CommEvent ev) { guarded([ev] { commReceive(ev); }); }

void subEndBatch(BatchEnd how) {
  if (how == BatchEnd::PortFailed) {
    try {
      subEndBatch(BatchEnd::Stopped);
    } catch (const SerialError&) {
      // The port is gone: leave the engine idle without touching it again.
      tmrComm().setEnabled(false);
      gAwaitInitReply = false;
      tmrComm().setInterval(kLinkTickMs);
      gTxBuffer.clear();
      dropReceived();
      gReqLast = 0;
      gReqRemain = -1;
      gReplyOk = true;
      gLinkBusy = false;
      setLinkText("Ready");
    }
    return;
  }

  SerialPort& port = mscComm();
  const bool discard = how == BatchEnd::Stopped;
  gTxBuffer.clear();
  subClearQueue();
  if (discard && port.portOpen()) port.discardOutput();
  subClearRxFrame();
  if (discard && port.portOpen()) port.discardInput();
  dropReceived();
  tmrComm().setEnabled(false);
  endInitReplyWait();
  setLinkText("Ready");
  progress().showNow();
  platform().doEvents();
  // Bytes that came in during the yield would be the head of the next batch's first reply.
  dropReceived();

  gReqLast = 0;
  gReqRemain = -1;
  gReplyOk = true;
  gLinkBusy = false;
  progress().busy(false);

  // PC mode keeps the port open for the next batch.
  if (port.portOpen() && !gPcMode) port.setPortOpen(false);
  if (!port.portOpen()) gPcMode = false;
}

void subCommStop() { subEndBatch(BatchEnd::Stopped); }

std::uint8_t fncLinkCodeOfPortError(int number) {
  switch (number) {
    case kPortNoSuchDevice: return kCodeLinkNoPort;
    case kPortSettingsRejected: return kCodeLinkSettings;
    default: return kCodeUnknown;
  }
}

void subStartBatch(std::int32_t count) {
  gLinkPortError = 0;
  gLinkBusy = true;
  gReqLast = count - 1;
  gReqRemain = gReqLast;
  progress().range(gReqLast);
  progress().value(gReqLast - gReqRemain);
  subFirstSend();
}

void subRunBatch(std::int32_t count) {
  const std::int32_t last = count - 1;  // the engine sets gReqLast to 0 when it goes idle
  subStartBatch(count);
  while (gLinkBusy) {
    if (gReqRemain >= 0) progress().value(gReqLast - gReqRemain);
    platform().waitEvents();
  }
  progress().value(last);
  if (gLinkPortError != 0) gErrCode = fncLinkCodeOfPortError(gLinkPortError);
}

}  // namespace vq
