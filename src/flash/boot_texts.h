// Progress texts of the flash stages, picked by gLangId when shown.
#pragma once
#include "base/texts.h"

namespace vq {

struct StageTexts {
  Text start;
  Text done;
  Text block;  // block stages only: followed by the block number and " Block"
};

extern const StageTexts kConnectTexts;
extern const StageTexts kClockTexts;
extern const StageTexts kBaudRateTexts;
extern const StageTexts kEraseTexts;
extern const StageTexts kWriteTexts;
extern const StageTexts kSecurityTexts;
extern const StageTexts kVerifyTexts;

constexpr const char* kBlockSuffix = " Block";

}  // namespace vq
