#include "link/bas_command_send.h"

#include <algorithm>
#include <string>

#include "base/link_state.h"
#include "base/param_store.h"
#include "link/bas_function.h"
#include "link/link_engine_state.h"

namespace vq {

namespace {

// Character codes of the first `width` characters of a text. A shorter text is padded with
// blanks so the instrument always gets a field of its full width.
void putText(InstrumentFrame& e, const std::string& text, std::size_t width) {
  e.Length = std::uint8_t(width);
  e.Data.assign(width, std::uint8_t(' '));
  for (std::size_t i = 0; i < width && i < text.size(); ++i) e.Data[i] = std::uint8_t(text[i]);
}

void putModeRequest(InstrumentFrame& e) {
  const std::string code = gModeKind == kModeEnterWithCode ? gModeCode : kModeDefaultCode;
  e.Length = std::uint8_t(1 + code.size());
  e.Data.assign(1, gModeKind);
  e.Data.insert(e.Data.end(), code.begin(), code.end());
}

}  // namespace

void subBuildCommand(InstrumentFrame& e) {
  e.Sync.fill(kSyncByte);
  if (e.Direction != kDirWrite) {
    e.Length = 0;  // reads carry no data
    return;
  }
  switch (e.Command) {
    case kCmdModelName: putText(e, gModelName, kModelNameLength); break;
    case kCmdSerialNo: putText(e, gSerialNo, kSerialNoLength); break;
    case kCmd04:
      e.Length = 2;
      e.Data = {gCmd04Value, 0x00};
      break;
    case kCmdMode: putModeRequest(e); break;
    default: e.Length = 0; break;  // 124 and anything else: no data
  }
}

void subAddCommand(std::int32_t& index, std::uint8_t command, std::uint8_t direction) {
  gReqQueue.resize(std::size_t(index) + 1);
  InstrumentFrame& e = gReqQueue[std::size_t(index)];
  e.Command = command;
  e.Direction = direction;
  subBuildCommand(e);
  ++index;
}

void queueReadBatch(std::int32_t& index) {
  gModeKind = kModeEnter;
  subAddCommand(index, kCmdMode, kDirWrite);
  for (std::uint8_t c : {kCmdModelName, kCmdSerialNo, kCmd04, kCmdFwVersion, kCmd06})
    subAddCommand(index, c, kDirRead);
  gModeKind = kModeLeave;
  subAddCommand(index, kCmdMode, kDirWrite);
}

void queueInitBatch(std::int32_t& index) {
  gModeKind = kModeEnterWithCode;
  gModeCode = kAccessCodeInit;
  subAddCommand(index, kCmdMode, kDirWrite);
  subAddCommand(index, kCmdInitParams, kDirWrite);
}

void queueWriteBackBatch(std::int32_t& index) {
  gModeKind = kModeEnterWithCode;
  gModeCode = kAccessCodeWrite;
  subAddCommand(index, kCmdMode, kDirWrite);
  for (std::uint8_t c : {kCmdModelName, kCmdSerialNo, kCmd04}) subAddCommand(index, c, kDirWrite);
  gModeKind = kModeLeave;
  subAddCommand(index, kCmdMode, kDirWrite);
}

}  // namespace vq
