// basCommandRecv: the reply dispatcher and the parsers that fill the parameter store.
#pragma once
#include "base/instrument_frame.h"

namespace vq {

// One accepted reply, picked up by its command number. Lengths a parser does not accept, and
// commands without a parser, change nothing.
void subDispatchReply(const InstrumentFrame& reply);

void subRecvModelName(const InstrumentFrame& reply);  // 1: 8 characters
void subRecvSerialNo(const InstrumentFrame& reply);   // 2: 6 characters
void subRecvCmd04(const InstrumentFrame& reply);      // 4: 2 bytes, the first kept
void subRecvFwVersion(const InstrumentFrame& reply);  // 5: main byte, revision byte
void subRecvCmd06(const InstrumentFrame& reply);      // 6: 2 bytes, the first kept
void subRecvMode(const InstrumentFrame& reply);       // 127: 1 or 7 bytes, mode in the first
// 124: the instrument has initialised its parameters; let the window catch up.
void subRecvYield(const InstrumentFrame& reply);

}  // namespace vq
