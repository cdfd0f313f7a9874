#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/error_display.h"
#include "app/frm_main.h"
#include "app/state.h"
#include "app/texts.h"
#include "image/file_select.h"
#include "image/firmware_file.h"
#include "platform/virtual/virtual_platform.h"

namespace vq {
namespace {

namespace fs = std::filesystem;
using virt::VirtualPlatform;

const std::string kMagic = "VQ-SYSTEM FIRMWARE Q.VELDORAN VER";

// A header with the magic at `magicAt` and the version bytes at 33, 35, 37, then the body.
Bytes updateFile(std::uint8_t v1, std::uint8_t v2, std::uint8_t v3, std::size_t body = 16,
                 std::size_t magicAt = 0, const std::string& magic = kMagic) {
  Bytes f(48 + body, 0x5A);
  f[33] = v1;
  f[35] = v2;
  f[37] = v3;
  std::copy(magic.begin(), magic.end(), f.begin() + std::ptrdiff_t(magicAt));
  return f;
}

class FileSelect : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAllState();
    frmMain = FrmMain{};
    frmMain.lblFWNew.caption = "No select";
    dir = fs::temp_directory_path() / ("vq_file_select_" + std::to_string(::getpid()));
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
    p.fileAnswers.push_back(path);
    subSelectFile();
    EXPECT_EQ(gErrCode, 0) << "a file code must not reach the wizard";
  }
  // The messages the codes show; empty while the error display has no texts.
  static std::vector<std::string> messagesOf(std::initializer_list<int> codes) {
    std::vector<std::string> out;
    for (int c : codes)
      if (const Text* t = errorText(c)) out.push_back(pick(*t));
    return out;
  }

  // Everything a failed selection must leave as it was.
  struct Snapshot {
    Bytes data;
    std::int32_t length;
    std::string path, title, fileLabel, versionLabel;
    bool valid;
    bool operator==(const Snapshot&) const = default;
  };
  static Snapshot snapshot() {
    return {gFileData, gFileLength, gFilePath, gFileTitle, frmMain.lblFWFile.caption, frmMain.lblFWNew.caption,
            gFileValid};
  }

  VirtualPlatform p;
  fs::path dir;
};

TEST_F(FileSelect, ValidFilesShowTheirVersionAndSwitchNextOn) {
  struct Case {
    const char* name;
    Bytes bytes;
    const char* version;
  };
  const Case cases[] = {
      {"a.bin", updateFile(1, 0, 2), "Ver.1.0.2"},
      {"b.bin", updateFile(1, 10, 99), "Ver.1.10.99"},
      {"c.bin", updateFile(0, 255, 0, 0), "Ver.0.255.0"},
      // The magic may start anywhere in the header; the version stays at 33, 35, 37, which
      // then are characters of the magic.
      {"d.bin", updateFile(1, 0, 2, 16, 5), "Ver.78.86.82"},
      {"e.bin", updateFile(1, 0, 2, 16, 15), "Ver.32.46.69"},
  };
  for (const auto& c : cases) {
    frmMain.cmdNext.enabled = false;
    const std::string path = write(c.name, c.bytes);
    choose(path);
    EXPECT_EQ(frmMain.lblFWNew.caption, c.version) << c.name;
    EXPECT_EQ(frmMain.lblFWFile.caption, c.name);
    EXPECT_EQ(gFilePath, path);
    EXPECT_EQ(gFileTitle, c.name);
    EXPECT_EQ(gFileData, c.bytes);
    EXPECT_EQ(gFileLength, std::int32_t(c.bytes.size()));
    EXPECT_TRUE(gFileValid);
    EXPECT_TRUE(frmMain.cmdNext.enabled);
  }
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(p.fileFilters.front(), "Bin code|*.bin");
}

TEST_F(FileSelect, HeaderWithoutTheMagicIsRejectedButKept) {
  std::string lower = kMagic;
  for (auto& ch : lower) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  const Bytes cases[] = {
      updateFile(1, 0, 2, 16, 0, lower),
      updateFile(1, 0, 2, 16, 0, kMagic.substr(0, 32) + "r"),
      // The magic must lie inside the header; starting at 16 it runs into the body.
      updateFile(1, 0, 2, 64, 16),
  };
  int n = 0;
  for (const auto& bytes : cases) {
    choose(write("good.bin", updateFile(2, 0, 0)));
    const std::string name = "bad" + std::to_string(n++) + ".bin";
    const std::string path = write(name, bytes);
    p.messages.clear();
    choose(path);
    EXPECT_EQ(p.messages, messagesOf({22})) << name;
    EXPECT_FALSE(gFileValid) << name;
    EXPECT_FALSE(frmMain.cmdNext.enabled);
    EXPECT_EQ(gFileData, bytes);
    EXPECT_EQ(gFileLength, std::int32_t(bytes.size()));
    EXPECT_EQ(frmMain.lblFWFile.caption, name);
    EXPECT_EQ(gFilePath, path);
  }
}

TEST_F(FileSelect, FailedSelectionLeavesTheEarlierChoiceWhole) {
  const fs::path folder = dir / "folder.bin";
  fs::create_directories(folder);
  Bytes header47 = updateFile(1, 0, 2);  // magic and version, but one byte short of a header
  header47.resize(47);
  const std::string withNul = write("x.bin", updateFile(9, 9, 9)) + std::string(1, '\0') + ".bin";
  struct Case {
    const char* what;
    std::string path;
    int code;
  };
  const Case cases[] = {
      {"20 bytes", write("short.bin", Bytes(20, 0x41)), 23},
      {"empty", write("empty.bin", {}), 23},
      {"47 bytes", write("header.bin", header47), 23},
      {"a folder", folder.string(), 23},
      {"a path with NUL", withNul, 23},
      {"no such file", (dir / "typed.bin").string(), 21},
  };
  for (const auto& c : cases) {
    const Bytes good = updateFile(1, 2, 3);
    choose(write("good.bin", good));
    ASSERT_TRUE(gFileValid);
    const Snapshot before = snapshot();
    p.messages.clear();
    choose(c.path);
    EXPECT_EQ(p.messages, messagesOf({c.code})) << c.what;
    EXPECT_TRUE(snapshot() == before) << c.what << ": the earlier file must stay chosen";
    EXPECT_EQ(frmMain.cmdNext.enabled, c.code != 21) << c.what;
  }
}

TEST_F(FileSelect, UnreadableFileIsCode23) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const std::string path = write("locked.bin", updateFile(1, 0, 2));
  fs::permissions(path, fs::perms::none);
  choose(path);
  EXPECT_EQ(p.messages, messagesOf({23}));
  EXPECT_FALSE(gFileValid);
  EXPECT_TRUE(gFilePath.empty());
}

TEST_F(FileSelect, FileTooLargeForItsLengthIsCode23WithoutReadingIt) {
  const std::string path = write("huge.bin", updateFile(1, 0, 2));
  std::error_code ec;
  fs::resize_file(path, std::uintmax_t(1) << 31, ec);  // sparse: one byte past the largest length
  if (ec) GTEST_SKIP() << "no sparse file here: " << ec.message();
  choose(path);
  EXPECT_EQ(p.messages, messagesOf({23}));
  EXPECT_FALSE(gFileValid);
  EXPECT_TRUE(gFileData.empty());
  EXPECT_EQ(gFileLength, 0);
}

TEST_F(FileSelect, CancelForgetsTheNameButKeepsTheFile) {
  const Bytes good = updateFile(1, 0, 2);
  choose(write("good.bin", good));
  choose("");
  EXPECT_TRUE(p.messages.empty());
  EXPECT_EQ(frmMain.lblFWFile.caption, "");
  EXPECT_EQ(gFilePath, "");
  EXPECT_EQ(gFileTitle, "");
  EXPECT_TRUE(gFileValid);
  EXPECT_EQ(gFileData, good);
  EXPECT_EQ(frmMain.lblFWNew.caption, "Ver.1.0.2");
  EXPECT_TRUE(frmMain.cmdNext.enabled);

  // Cancelling with Next off leaves it off.
  frmMain.cmdNext.enabled = false;
  choose("");
  EXPECT_FALSE(frmMain.cmdNext.enabled);
}

TEST_F(FileSelect, ValidFileAfterARejectedOneSwitchesNextOnAgain) {
  choose(write("bad.bin", Bytes(64, 0)));
  ASSERT_FALSE(frmMain.cmdNext.enabled);
  const Bytes good = updateFile(3, 1, 4, 300);
  choose(write("good.bin", good));
  EXPECT_TRUE(gFileValid);
  EXPECT_TRUE(frmMain.cmdNext.enabled);
  EXPECT_EQ(gFileData, good);
  EXPECT_EQ(frmMain.lblFWNew.caption, "Ver.3.1.4");
}

}  // namespace
}  // namespace vq
