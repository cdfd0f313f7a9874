#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/reset_all_state.h"
#include "base/firmware_file.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "image/write_blocks.h"
#include "platform/virtual/virtual_platform.h"

namespace vq {
namespace {

// Records what the window would show at each yield.
class WatchingPlatform : public virt::VirtualPlatform {
 public:
  std::vector<std::pair<std::string, int>> frames;  // txtProcess, progress value
  void doEvents() override {
    frames.emplace_back(frmMain.txtProcess.text, frmMain.prgProcess.value);
    VirtualPlatform::doEvents();
  }
};

std::uint8_t bodyByte(std::size_t i) { return std::uint8_t(i * 7 + i / 256); }

class WriteBlocks : public ::testing::Test {
 protected:
  void run(std::size_t bodySize) {
    resetAllState();
    for (auto& b : gImage) b.fill(0x00);  // leftovers of an earlier run must not survive
    gProgressLog = "old lines\r\n";
    gFileData.assign(kHeaderSize, 0xEE);
    for (std::size_t i = 0; i < bodySize; ++i) gFileData.push_back(bodyByte(i));
    gFileLength = std::int32_t(gFileData.size());
    p.frames.clear();
    result = 0xAA;
    result = subReadBinFile();
  }
  WatchingPlatform p;
  std::uint8_t result = 0;
};

TEST_F(WriteBlocks, BodyFillsTheImageAndTheRestIsErased) {
  const std::tuple<std::size_t, int, int> cases[] = {
      {0, 0, 0}, {300, 0, 0}, {131'072, 0, 0}, {131'073, 36, 22}, {131'074, 36, 22},
  };
  for (const auto& [body, wantResult, wantCode] : cases) {
    run(body);
    EXPECT_EQ(result, wantResult) << body;
    EXPECT_EQ(gErrCode, wantCode) << body;
    std::size_t wrong = 0;
    for (std::size_t a = 0; a < std::size_t(kImageSize); ++a) {
      const std::uint8_t want = a < body ? bodyByte(a) : 0xFF;
      if (gImage[a / kBlockSize][a % kBlockSize] != want && wrong++ == 0)
        ADD_FAILURE() << "body " << body << ": first wrong image byte at " << a;
    }
    EXPECT_EQ(frmMain.txtProcess.text, "Creating binary data completed.");
    EXPECT_EQ(gProgressLog, "Creating binary data completed.");
  }
}

TEST_F(WriteBlocks, ProgressCountsTheBlocksOneYieldEach) {
  run(1000);
  // Opening text, one per block, the closing count 512, the completion.
  ASSERT_EQ(p.frames.size(), std::size_t(kBlockCount + 3));
  EXPECT_EQ(p.frames[0].first, "Now creating binary data. . .");
  using Frame = std::pair<std::string, int>;
  EXPECT_EQ(p.frames[1], Frame("Now reading BIN file : 0 Block", 0));
  EXPECT_EQ(p.frames[512], Frame("Now reading BIN file : 511 Block", 511));
  EXPECT_EQ(p.frames[513], Frame("Now reading BIN file : 512 Block", 512));
  EXPECT_EQ(frmMain.prgProcess.max, 512);
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "HEX READ");

  gLangId = kLangJapanese;
  p.frames.clear();
  result = subReadBinFile();
  EXPECT_EQ(p.frames[0].first, "バイナリ・データ作成中");
  // Ideographic space U+3000 and full-width colon U+FF1A before the number.
  EXPECT_EQ(p.frames[513].first, "BINファイル読み込み中\xE3\x80\x80\xEF\xBC\x9A" "512 Block");
  EXPECT_EQ(gProgressLog, "バイナリ・データ作成完了");
}

}  // namespace
}  // namespace vq
