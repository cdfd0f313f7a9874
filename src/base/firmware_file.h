// The chosen update file, held whole in memory for the run.
#pragma once
#include <cstdint>
#include <string>

#include "base/bytes.h"

namespace vq {

extern std::string gFilePath;
extern std::string gFileTitle;
extern std::int32_t gFileLength;
extern Bytes gFileData;
extern bool gFileValid;

void resetFirmwareFileState();

}  // namespace vq
