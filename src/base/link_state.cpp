#include "base/link_state.h"

namespace vq {

std::vector<InstrumentFrame> gReqQueue;
std::int32_t gReqLast = 0;
std::int32_t gReqRemain = 0;
bool gLinkBusy = false;
bool gReplyOk = false;
std::int32_t gRetryCount = 0;
std::int32_t gBusyReplies = 0;
Bytes gTxBuffer;
Bytes gRxBuffer;
std::uint8_t gRxExpected = 255;
InstrumentFrame gRxFrame;
std::uint8_t gModeKind = 0;
std::string gModeCode;
int gLinkPortError = 0;
bool gAwaitInitReply = false;

void resetLinkState() {
  gReqQueue.clear();
  gReqLast = 0;
  gReqRemain = 0;
  gLinkBusy = false;
  gReplyOk = false;
  gRetryCount = 0;
  gBusyReplies = 0;
  gTxBuffer.clear();
  gRxBuffer.clear();
  gRxExpected = 255;
  gRxFrame = InstrumentFrame{};
  gModeKind = 0;
  gModeCode.clear();
  gLinkPortError = 0;
  gAwaitInitReply = false;
}

}  // namespace vq
