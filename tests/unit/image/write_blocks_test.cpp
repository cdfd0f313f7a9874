#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/frm_main.h"
#include "app/state.h"
#include "app/texts.h"
#include "image/firmware_file.h"
#include "image/write_blocks.h"
#include "platform/virtual/virtual_platform.h"

namespace vq {
namespace {

// Records what the window would show at each yield.
class WatchingPlatform : public virt::VirtualPlatform {
 public:
  struct Frame {
    std::string text;
    int progress;
  };
  std::vector<Frame> frames;
  void doEvents() override {
    frames.push_back({frmMain.txtProcess.text, frmMain.prgProcess.value});
    VirtualPlatform::doEvents();
  }
};

std::uint8_t bodyByte(std::size_t i) { return std::uint8_t(i * 7 + 3); }

void loadFile(std::size_t bodySize) {
  gFileData.assign(kHeaderSize, 0xEE);
  for (std::size_t i = 0; i < bodySize; ++i) gFileData.push_back(bodyByte(i));
  gFileLength = std::int32_t(gFileData.size());
}

class WriteBlocks : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAllState();
    frmMain = FrmMain{};
    for (auto& b : gImage) b.fill(0x00);  // leftovers of an earlier run must not survive
  }
  WatchingPlatform p;
};

TEST_F(WriteBlocks, BodyFillsTheImageAndTheRestIsErased) {
  struct Case {
    std::size_t body;
    int result;
    int errCode;
  };
  const Case cases[] = {
      {0, 0, 0},      {300, 0, 0},     {256, 0, 0},      {131'071, 0, 0},
      {131'072, 0, 0}, {131'073, 36, 22}, {131'074, 36, 22},
  };
  for (const auto& c : cases) {
    SetUp();
    loadFile(c.body);
    std::uint8_t result = 0xAA;
    subReadBinFile(result);
    EXPECT_EQ(result, c.result) << c.body;
    EXPECT_EQ(gErrCode, c.errCode) << c.body;
    std::size_t wrong = 0;
    for (std::size_t a = 0; a < std::size_t(kImageSize); ++a) {
      const std::uint8_t want = a < c.body ? bodyByte(a) : 0xFF;
      if (gImage[a / kBlockSize][a % kBlockSize] != want && wrong++ == 0)
        ADD_FAILURE() << "body " << c.body << ": first wrong image byte at " << a;
    }
    EXPECT_EQ(wrong, 0u) << c.body;
    EXPECT_EQ(frmMain.txtProcess.text, "Creating binary data completed.");
    EXPECT_EQ(gProgressLog, "Creating binary data completed.");
  }
}

TEST_F(WriteBlocks, ThreeHundredBytesFillBlockZeroAndPartOfBlockOne) {
  loadFile(300);
  std::uint8_t result = 0;
  subReadBinFile(result);
  EXPECT_EQ(gImage[1][43], bodyByte(299));
  EXPECT_EQ(gImage[1][44], 0xFF);
  EXPECT_EQ(gImage[2][0], 0xFF);
}

TEST_F(WriteBlocks, ProgressCountsTheBlocksOneYieldEach) {
  loadFile(1000);
  p.frames.clear();
  std::uint8_t result = 0;
  subReadBinFile(result);
  // Opening text, one per block, the closing count 512, the completion.
  ASSERT_EQ(p.frames.size(), std::size_t(kBlockCount + 3));
  EXPECT_EQ(p.frames.front().text, "Now creating binary data. . .");
  EXPECT_EQ(p.frames[1].text, "Now reading BIN file : 0 Block");
  EXPECT_EQ(p.frames[1].progress, 0);
  EXPECT_EQ(p.frames[512].text, "Now reading BIN file : 511 Block");
  EXPECT_EQ(p.frames[512].progress, 511);
  EXPECT_EQ(p.frames[513].text, "Now reading BIN file : 512 Block");
  EXPECT_EQ(p.frames[513].progress, 512);
  EXPECT_EQ(p.frames.back().text, "Creating binary data completed.");
  EXPECT_EQ(frmMain.prgProcess.min, 0);
  EXPECT_EQ(frmMain.prgProcess.max, 512);
  EXPECT_EQ(frmMain.prgProcess.value, 512);
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "HEX READ");
}

TEST_F(WriteBlocks, JapaneseTexts) {
  gLangId = kLangJapanese;
  loadFile(10);
  std::uint8_t result = 0;
  subReadBinFile(result);
  EXPECT_EQ(p.frames.front().text, "バイナリ・データ作成中");
  // Ideographic space U+3000 and full-width colon U+FF1A before the number.
  EXPECT_EQ(p.frames[513].text, "BINファイル読み込み中\xE3\x80\x80\xEF\xBC\x9A" "512 Block");
  EXPECT_EQ(gProgressLog, "バイナリ・データ作成完了");
  EXPECT_EQ(frmMain.stsAppStatus.panel2, "HEX READ");
}

TEST_F(WriteBlocks, EveryRunStartsTheProgressLogAfresh) {
  gProgressLog = "old lines\r\n";
  loadFile(0);
  std::uint8_t result = 0;
  subReadBinFile(result);
  EXPECT_EQ(gProgressLog, "Creating binary data completed.");
}

}  // namespace
}  // namespace vq
