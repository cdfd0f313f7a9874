// The journal's files on this system's disk, in folders such as a user's profile may be named
// (a Japanese user name puts Japanese into %LOCALAPPDATA%): saved, found again, ended. The same
// table runs in the Linux build and under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "base/utf8_path.h"
#include "platform/native/journal_files.h"

namespace vq::native {
namespace {

struct Case {
  const char* name;
  const char* folder;  // UTF-8, below a fresh temporary folder
};

class JournalFilesTest : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = utf8Of(std::filesystem::temp_directory_path()) + "/vq-journal-test-" + std::to_string(tick);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(pathOf(root_), ec);
  }
  std::string root_;
};

TEST_P(JournalFilesTest, SavedFoundAndEnded) {
  const ComPortMap map;
  JournalFiles files(map, root_ + "/" + GetParam().folder);
  JournalEntry e;
  e.model = "VQA-7001";
  e.serial = " 13579";
  e.cmd04 = 9;
  e.port = "COM3";
  e.fileName = "new.bin";
  std::string why;
  ASSERT_TRUE(files.save(e, why)) << why;
  EXPECT_TRUE(std::filesystem::exists(pathOf(files.pathFor(e.model, e.serial))));

  std::vector<JournalProblem> problems;
  const std::vector<JournalEntry> found = files.unfinished(problems);
  EXPECT_TRUE(problems.empty());
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].model, e.model);
  EXPECT_EQ(found[0].serial, e.serial);
  EXPECT_EQ(found[0].cmd04, 9);

  // Saved again (a retry): still one entry, the newer.
  ASSERT_TRUE(files.save(e, why)) << why;
  EXPECT_EQ(files.unfinished(problems).size(), 1u);

  files.finish(e.model, e.serial);
  EXPECT_TRUE(files.unfinished(problems).empty());
  EXPECT_TRUE(problems.empty());
}

INSTANTIATE_TEST_SUITE_P(Folders, JournalFilesTest,
                         ::testing::Values(Case{"plain", "unfinished"}, Case{"spaces", "Field Engineer/unfinished"},
                                           Case{"Japanese", "\xe5\xb1\xb1\xe7\x94\xb0/unfinished"},  // 山田
                                           Case{"deep", "a/b/c/unfinished"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vq::native
