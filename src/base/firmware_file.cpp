#include "base/firmware_file.h"

namespace vq {

std::string gFilePath;
std::string gFileTitle;
std::int32_t gFileLength = 0;
Bytes gFileData;
bool gFileValid = false;
std::string gFileSha256Expected;
std::string gFileSelectionLines;
std::uint8_t gFileSelectCode = 0;

void resetFirmwareFileState() {
  gFilePath.clear();
  gFileTitle.clear();
  gFileLength = 0;
  gFileData.clear();
  gFileValid = false;
  gFileSha256Expected.clear();
  gFileSelectionLines.clear();
  gFileSelectCode = 0;
}

}  // namespace vq
