#include "base/link_state.h"

namespace vq {

std::int32_t gReqLast = 0;
std::int32_t gReqRemain = 0;
bool gLinkBusy = false;
std::uint8_t gModeKind = 0;
std::string gModeCode;

void resetLinkState() {
  gReqLast = 0;
  gReqRemain = 0;
  gLinkBusy = false;
  gModeKind = 0;
  gModeCode.clear();
}

}  // namespace vq
