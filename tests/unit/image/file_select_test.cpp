#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/file_select.h"
#include "app/frm_main.h"
#include "app/reset_all_state.h"
#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/forms.h"
#include "base/progress.h"
#include "base/sha256.h"
#include "base/state.h"
#include "base/texts.h"
#include "image/file_checksum.h"
#include "platform/virtual/virtual_platform.h"

namespace vq {
namespace {

namespace fs = std::filesystem;

const std::string kMagic = "VQ-SYSTEM FIRMWARE Q.VELDORAN VER";

// A header with the magic at `magicAt` and the version bytes at 33, 35, 37, then the body.
Bytes updateFile(std::uint8_t v1, std::uint8_t v2, std::uint8_t v3, std::size_t body = 16,
                 std::size_t magicAt = 0, const std::string& magic = kMagic) {
  Bytes f(48 + body, 0x5A);
  f[33] = v1, f[35] = v2, f[37] = v3;
  std::copy(magic.begin(), magic.end(), f.begin() + std::ptrdiff_t(magicAt));
  return f;
}

class FileSelect : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAllState();
    dir = fs::temp_directory_path() / ("vq_file_select_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string write(const std::string& name, const Bytes& bytes) {
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
    return path.string();
  }
  void choose(const std::string& path) {
    p.messages.clear();
    p.fileAnswers.push_back(path);
    subSelectFile();
    EXPECT_EQ(gErrCode, 0) << "a file code must not reach the wizard";
    // gFileSelectCode keeps the code whose message the selection showed, 0 when it showed none.
    if (gFileSelectCode == 0) EXPECT_TRUE(p.messages.empty());
    else EXPECT_EQ(p.messages, messageOf(gFileSelectCode));
  }
  static std::vector<std::string> messageOf(int code) { return {pick(*errorText(code))}; }

  // Everything a failed selection must leave as it was.
  static auto snapshot() {
    return std::tuple(gFileData, gFileLength, gFilePath, gFileTitle, frmMain.lblFWFile.caption,
                      frmMain.lblFWNew.caption, gFileValid);
  }

  virt::VirtualPlatform p;
  fs::path dir;
};

TEST_F(FileSelect, ValidFilesShowTheirVersionAndSwitchNextOn) {
  const std::tuple<const char*, Bytes, const char*> cases[] = {
      {"a.bin", updateFile(1, 0, 2), "Ver.1.0.2"},
      {"b.bin", updateFile(1, 10, 99, 0), "Ver.1.10.99"},
      // The magic may start anywhere in the header; the version stays at 33, 35, 37, which
      // then are characters of the magic.
      {"c.bin", updateFile(1, 0, 2, 16, 5), "Ver.78.86.82"},
      {"d.bin", updateFile(1, 0, 2, 16, 15), "Ver.32.46.69"},
  };
  for (const auto& [name, bytes, version] : cases) {
    frmMain.cmdNext.enabled = false;
    const std::string path = write(name, bytes);
    choose(path);
    EXPECT_EQ(frmMain.lblFWNew.caption, version) << name;
    EXPECT_EQ(frmMain.lblFWFile.caption, name);
    EXPECT_EQ(gFilePath, path);
    EXPECT_EQ(gFileData, bytes);
    EXPECT_EQ(gFileLength, std::int32_t(bytes.size()));
    EXPECT_TRUE(gFileValid && frmMain.cmdNext.enabled);
    EXPECT_TRUE(p.messages.empty());
  }
  EXPECT_EQ(p.fileFilters.front(), "Bin code|*.bin");
}

// A checksum file beside the update file (or the operator's digest) is checked after the
// header; each selection's line takes the place of the one before, below what a step wrote.
TEST_F(FileSelect, TheSha256IsShownOrCheckedAgainstTheChecksumBesideIt) {
  const Bytes whole = updateFile(1, 2, 0, 4096);
  Bytes cut = whole;  // a download cut short: the header intact, the body ending early
  cut.resize(1000);
  const Bytes noMagic(4096, 0x20);
  const std::string sum = sha256Hex(whole), cutSum = sha256Hex(cut), other = sha256Hex(updateFile(9, 9, 9));
  std::string upper = sum;
  for (auto& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
  const std::string listing = sum + "  VQ_1.2.0.bin\n", wrongListing = other + " *VQ_1.2.0.bin\n";
  const std::optional<std::string> none, folder = "/";
  const struct {
    const char* what;
    Bytes file;
    std::optional<std::string> checksum;  // the text of VQ_1.2.0.bin.sha256; "/": a folder there
    std::string given;                    // the operator's digest
    int lang;
    int code;          // 0: accepted
    std::string line;  // what the selection adds below the step's line
  } cases[] = {
      {"no checksum file", whole, none, "", 1033, 0,
       "SHA-256 of VQ_1.2.0.bin: " + sum + " (compare it with the publisher's)"},
      {"no checksum file, Japanese", whole, none, "", 1041, 0,
       "VQ_1.2.0.bin の SHA-256：" + sum + "（配布元が公開している値と照らし合わせてください）"},
      {"a matching sha256sum line", whole, listing, "", 1033, 0, "SHA-256 checksum verified: " + sum},
      {"a matching bare digest, upper case", whole, upper, "", 1041, 0, "チェックサム（SHA-256）を確認しました：" + sum},
      {"a mismatching one", whole, wrongListing, "", 1033, 22,
       "SHA-256 of VQ_1.2.0.bin: " + sum + "; VQ_1.2.0.bin.sha256 says: " + other},
      {"a truncated file beside the whole one's", cut, listing, "", 1033, 22,
       "SHA-256 of VQ_1.2.0.bin: " + cutSum + "; VQ_1.2.0.bin.sha256 says: " + sum},
      {"a mismatch, Japanese", cut, listing, "", 1041, 22,
       "VQ_1.2.0.bin の SHA-256：" + cutSum + "。VQ_1.2.0.bin.sha256 の値：" + sum},
      {"an unreadable checksum file", whole, folder, "", 1033, 22,
       "VQ_1.2.0.bin.sha256 cannot be read; the file's SHA-256 cannot be checked."},
      {"no digest in it", whole, "<html>Not Found</html>\n", "", 1033, 22, "VQ_1.2.0.bin.sha256 holds no SHA-256 digest."},
      {"digests of other files only", whole, sum + "  VQ_1.1.0.bin\n" + sum + "  VQ_1.3.0.bin\n", "", 1033, 22,
       "VQ_1.2.0.bin.sha256 holds no SHA-256 digest for VQ_1.2.0.bin."},
      {"the operator's digest agrees", whole, wrongListing, sum, 1033, 0, "SHA-256 checksum verified: " + sum},
      {"the operator's digest goes before the file's", whole, listing, other, 1033, 22,
       "SHA-256 of VQ_1.2.0.bin: " + sum + "; --sha256 says: " + other},
      // The header is checked first: no line at all, only the earlier file's taken away.
      {"no magic beside a matching checksum", noMagic, sha256Hex(noMagic), "", 1033, 22, ""},
  };
  const std::string stepLine = "Getting parameters completed.";
  for (const auto& c : cases) {
    resetAllState();
    fs::remove_all(dir);
    fs::create_directories(dir);
    gLangId = std::int16_t(c.lang);
    progress().line(stepLine, ProgressLine::Restart);
    choose(write("earlier.bin", updateFile(1, 0, 0)));
    ASSERT_TRUE(gFileValid) << c.what;

    const std::string path = write("VQ_1.2.0.bin", c.file);
    if (c.checksum == folder) fs::create_directories(fncChecksumPathFor(path));
    else if (c.checksum) write("VQ_1.2.0.bin.sha256", Bytes(c.checksum->begin(), c.checksum->end()));
    gFileSha256Expected = c.given;
    choose(path);

    EXPECT_EQ(p.messages, c.code ? messageOf(c.code) : std::vector<std::string>{}) << c.what;
    EXPECT_EQ(gFileValid, c.code == 0) << c.what;
    EXPECT_EQ(frmMain.cmdNext.enabled, c.code == 0) << c.what;
    EXPECT_EQ(gFileData, c.file) << c.what;
    EXPECT_EQ(frmMain.txtProcess.text, c.line.empty() ? stepLine : stepLine + "\r\n" + c.line) << c.what;
  }
}

TEST_F(FileSelect, HeaderWithoutTheMagicIsRejectedButKept) {
  std::string lower = kMagic;
  for (auto& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  const Bytes cases[] = {
      updateFile(1, 0, 2, 16, 0, lower),
      updateFile(1, 0, 2, 64, 16),  // starting at 16 the magic runs out of the header
  };
  for (const auto& bytes : cases) {
    choose(write("good.bin", updateFile(2, 0, 0)));
    const std::string path = write("bad.bin", bytes);
    choose(path);
    EXPECT_EQ(p.messages, messageOf(22));
    EXPECT_FALSE(gFileValid || frmMain.cmdNext.enabled);
    EXPECT_EQ(gFileData, bytes);
    EXPECT_EQ(gFileLength, std::int32_t(bytes.size()));
    EXPECT_EQ(frmMain.lblFWFile.caption, "bad.bin");
    EXPECT_EQ(gFilePath, path);
  }
}

TEST_F(FileSelect, FailedSelectionLeavesTheEarlierChoiceWhole) {
  fs::create_directories(dir / "folder.bin");
  Bytes header47 = updateFile(1, 0, 2);  // magic and version, one byte short of a header
  header47.resize(47);
  const std::tuple<const char*, std::string, int> cases[] = {
      {"20 bytes", write("short.bin", Bytes(20, 0x41)), 23},
      {"empty", write("empty.bin", {}), 23},
      {"47 bytes", write("header.bin", header47), 23},
      {"a folder", (dir / "folder.bin").string(), 23},
      {"a path with NUL", write("x.bin", updateFile(9, 9, 9)) + std::string(1, '\0') + ".bin", 23},
      {"no such file", (dir / "typed.bin").string(), 21},
  };
  for (const auto& [what, path, code] : cases) {
    choose(write("good.bin", updateFile(1, 2, 3)));
    const auto before = snapshot();
    choose(path);
    EXPECT_EQ(p.messages, messageOf(code)) << what;
    EXPECT_TRUE(snapshot() == before) << what << ": the earlier file must stay chosen";
    EXPECT_EQ(frmMain.cmdNext.enabled, code != 21) << what;
  }
}

TEST_F(FileSelect, FileTooLargeForItsLengthIsCode23WithoutReadingIt) {
  const std::string path = write("huge.bin", updateFile(1, 0, 2));
  std::error_code ec;
  fs::resize_file(path, std::uintmax_t(1) << 31, ec);  // sparse: one byte past the largest length
  if (ec) GTEST_SKIP() << "no sparse file here: " << ec.message();
  choose(path);
  EXPECT_EQ(p.messages, messageOf(23));
  EXPECT_FALSE(gFileValid);
  EXPECT_TRUE(gFileData.empty());
}

TEST_F(FileSelect, CancelForgetsTheNameButKeepsTheFile) {
  const Bytes good = updateFile(1, 0, 2);
  choose(write("good.bin", good));
  choose("");
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(frmMain.lblFWFile.caption + gFilePath + gFileTitle, "");
  EXPECT_TRUE(gFileValid && frmMain.cmdNext.enabled);
  EXPECT_EQ(gFileData, good);
  EXPECT_EQ(frmMain.lblFWNew.caption, "Ver.1.0.2");
}

TEST_F(FileSelect, ValidFileAfterARejectedOneSwitchesNextOnAgain) {
  choose(write("bad.bin", Bytes(64, 0)));
  ASSERT_FALSE(frmMain.cmdNext.enabled);
  const Bytes good = updateFile(3, 1, 4, 300);
  choose(write("good.bin", good));
  EXPECT_TRUE(gFileValid && frmMain.cmdNext.enabled);
  EXPECT_EQ(gFileData, good);
}

}  // namespace
}  // namespace vq
