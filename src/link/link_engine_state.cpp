#include "link/link_engine_state.h"

#include "link/link_engine.h"

namespace vq {

std::vector<InstrumentFrame> gReqQueue;
bool gReplyOk = false;
std::int32_t gRetryCount = 0;
std::int32_t gBusyReplies = 0;
Bytes gTxBuffer;
Bytes gRxBuffer;
std::uint8_t gRxExpected = 255;
InstrumentFrame gRxFrame;
int gLinkPortError = 0;
bool gAwaitInitReply = false;

void resetLinkEngineState() {
  gReqQueue.clear();
  gReplyOk = false;
  gRetryCount = 0;
  gBusyReplies = 0;
  gTxBuffer.clear();
  gRxBuffer.clear();
  gRxExpected = 255;
  gRxFrame = InstrumentFrame{};
  gLinkPortError = 0;
  gAwaitInitReply = false;
}

}  // namespace vq
