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
// The SHA-256 the file must have (hex), given by the operator of vq-update-cli; it goes before
// a checksum file beside the update file. Empty in the window.
extern std::string gFileSha256Expected;
// The lines the last selection put into the progress box, line breaks included: the next
// selection takes them away while the box still ends with them, so the box shows one file's.
extern std::string gFileSelectionLines;
// The wizard code (21, 22 or 23) the last file selection showed; 0 when it showed none. The
// selection shows its code at once and clears gErrCode; this keeps it for whoever asks after.
extern std::uint8_t gFileSelectCode;

void resetFirmwareFileState();

}  // namespace vq
