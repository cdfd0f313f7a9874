// The instrument link engine: one batch of requests, paced by tmrComm, replies by mscComm events.
#pragma once
#include "platform/platform.h"

namespace vq {

void subFirstSend();
void subCommSend();                  // every tmrComm tick in steps 2 and 7
void subCommReceive(CommEvent ev);   // every mscComm event in steps 2 and 7
void subCommStop();

}  // namespace vq
