#include "link/bas_command_recv.h"

#include <string>

#include "base/param_store.h"
#include "link/bas_command_send.h"
#include "platform/platform.h"

namespace vq {

namespace {

std::string textOf(const InstrumentFrame& r) {
  return std::string(r.Data.begin(), r.Data.begin() + r.Length);
}

// Parsers read only what the length says; Data of a reply always holds exactly Length bytes.
bool hasLength(const InstrumentFrame& r, std::size_t n) { return r.Length == n && r.Data.size() >= n; }

}  // namespace

void subRecvModelName(const InstrumentFrame& r) {
  if (!hasLength(r, kModelNameLength)) return;
  gModelName = textOf(r);
  gModelNameStored = true;
}

void subRecvSerialNo(const InstrumentFrame& r) {
  if (!hasLength(r, kSerialNoLength)) return;
  gSerialNo = textOf(r);
  gSerialNoStored = true;
}

void subRecvCmd04(const InstrumentFrame& r) {
  if (hasLength(r, 2)) gCmd04Value = r.Data[0];
}

void subRecvFwVersion(const InstrumentFrame& r) {
  if (!hasLength(r, 2)) return;
  gFwVerMain = r.Data[0];
  gFwVerRev = r.Data[1];
}

void subRecvCmd06(const InstrumentFrame& r) {
  if (hasLength(r, 2)) gCmd06Value = r.Data[0];
}

void subRecvMode(const InstrumentFrame& r) {
  if (!hasLength(r, 1) && !hasLength(r, 7)) return;
  switch (r.Data[0]) {
    case 0: gPcMode = false; break;
    case 1: case 2: gPcMode = true; break;  // PC mode, opened without or with an access code
    default: break;
  }
}

void subRecvYield(const InstrumentFrame&) { platform().doEvents(); }

void subDispatchReply(const InstrumentFrame& r) {
  switch (r.Command) {
    case kCmdModelName: subRecvModelName(r); break;
    case kCmdSerialNo: subRecvSerialNo(r); break;
    case kCmd04: subRecvCmd04(r); break;
    case kCmdFwVersion: subRecvFwVersion(r); break;
    case kCmd06: subRecvCmd06(r); break;
    case kCmdInitParams: subRecvYield(r); break;
    case kCmdMode: subRecvMode(r); break;
    default: break;
  }
}

}  // namespace vq
