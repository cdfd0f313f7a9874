// The update file's body cut into the write blocks of gImage.
#pragma once
#include <cstdint>

#include "base/image_state.h"

namespace vq {

// Builds gImage from gFileData; returns 0, or 36 (with gErrCode 22) when the body is too long.
std::uint8_t subReadBinFile();

}  // namespace vq
