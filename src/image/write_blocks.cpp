#include "image/write_blocks.h"

#include <algorithm>
#include <cstring>

#include "base/firmware_file.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "base/wizard_codes.h"
#include "platform/platform.h"

namespace vq {

namespace {

constexpr Text kCreating{"バイナリ・データ作成中", "Now creating binary data. . ."};
// The Japanese text ends in an ideographic space and a full-width colon.
constexpr Text kReadingBlock{"BINファイル読み込み中\u3000\uFF1A", "Now reading BIN file : "};
constexpr Text kCreated{"バイナリ・データ作成完了", "Creating binary data completed."};
constexpr const char* kBlockSuffix = " Block";
constexpr const char* kPanelHexRead = "HEX READ";

constexpr std::uint8_t kErasedByte = 0xFF;  // flash bytes the file has no data for
constexpr std::uint8_t kResultBodyTooLong = 36;

void showBlock(int block) {
  progress().line(pick(kReadingBlock) + std::to_string(block) + kBlockSuffix, ProgressLine::Restart);
}

}  // namespace

std::uint8_t subReadBinFile() {
  progress().line(pick(kCreating), ProgressLine::Restart);
  platform().doEvents();

  std::uint8_t result = 0;
  progress().range(kBlockCount);
  progress().linkState(kPanelHexRead);

  // gFileLength is what the file selection read; never trust it past the bytes actually held.
  const std::size_t fileEnd = std::min<std::size_t>(std::size_t(std::max<std::int32_t>(gFileLength, 0)),
                                                    gFileData.size());
  std::size_t p = kHeaderSize;
  for (int b = 0; b < kBlockCount; ++b) {
    progress().value(b);
    showBlock(b);
    // One yield per block keeps the window live; a yield per byte would cost more than the copy.
    platform().doEvents();
    Block& block = gImage[std::size_t(b)];
    const std::size_t take = p < fileEnd ? std::min<std::size_t>(kBlockSize, fileEnd - p) : 0;
    if (take > 0) std::memcpy(block.data(), gFileData.data() + p, take);
    std::fill(block.begin() + std::ptrdiff_t(take), block.end(), kErasedByte);
    p += take;
  }

  progress().value(kBlockCount);
  showBlock(kBlockCount);
  platform().doEvents();

  if (p < fileEnd) {  // the body does not fit the flash area
    result = kResultBodyTooLong;
    gErrCode = kCodeFileInvalid;
  }

  // Kept: the flash stages' lines go below it.
  progress().line(pick(kCreated), ProgressLine::Restart);
  platform().doEvents();
  return result;
}

}  // namespace vq
