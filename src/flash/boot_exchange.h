// Boot-mode exchange handlers, reached through frmMain's event routing in step 5.
#pragma once
#include "platform/platform.h"

namespace vq {

void subBootReceive(CommEvent ev);
void subBootTimeout();

}  // namespace vq
