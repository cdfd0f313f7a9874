// Step instruction texts: the right text under every step, line layout, and the "b" texts
// continuing their "a" texts.
#include "app/step_texts.h"

#include <gtest/gtest.h>

#include "unit/app/text_checks.h"

namespace vq::test {
namespace {

struct StepTextCase {
  InfoText id;
  const char* jaHeading;
  const char* enHeading;
  std::size_t jaLines, enLines;
};

const StepTextCase kTexts[] = {
    {InfoText::T1, "１．開始", "1. Start", 8, 10},
    {InfoText::T2a, "２．更新前パラメーターの取得", "2. Getting the previous parameters before update", 4, 5},
    {InfoText::T2b, "２．更新前パラメーターの取得", "2. Getting the previous parameters before update", 7, 8},
    {InfoText::T3, "３．ファームウェアのバージョン確認", "3. Checking the version of firmware", 9, 10},
    {InfoText::T4, "４．ファームウェアの更新準備", "4. Preparation for firmware update", 13, 14},
    {InfoText::T5a, "５．ファームウェアの更新中", "5. Now updating the firmware", 9, 12},
    {InfoText::T5b, "５．ファームウェアの更新中", "5. Now updating the firmware", 11, 14},
    {InfoText::T6, "６．パラメーターの更新準備", "6. Preparation for updating parameters", 11, 12},
    {InfoText::T7a, "７．パラメーターの更新中", "7. Now updating parameters", 7, 11},
    {InfoText::T7b, "７．パラメーターの更新中", "7. Now updating parameters", 10, 13},
    {InfoText::T8, "８．更新作業の終了", "8. Completion of updating work", 8, 10},
};

TEST(StepText, EveryStepHasItsHeadingAndLineCount) {
  for (const auto& c : kTexts) {
    SCOPED_TRACE(c.enHeading);
    const Text& t = stepText(c.id);
    const auto ja = crlfLines(t.ja);
    const auto en = crlfLines(t.en);
    EXPECT_EQ(ja.front(), c.jaHeading);
    EXPECT_EQ(en.front(), c.enHeading);
    EXPECT_EQ(ja.size(), c.jaLines);
    EXPECT_EQ(en.size(), c.enLines);
  }
}

TEST(StepText, LinesBreakWithCrLfAfterABlankLineAndAreIndented) {
  for (const auto& c : kTexts) {
    SCOPED_TRACE(c.enHeading);
    const Text& t = stepText(c.id);
    for (const std::string& s : {std::string(t.ja), std::string(t.en)}) {
      EXPECT_FALSE(hasLoneBreak(s));
      EXPECT_FALSE(endsWith(s, "\r\n"));
      const auto lines = crlfLines(s);
      ASSERT_GE(lines.size(), 3u);
      EXPECT_EQ(lines[1], "");  // the heading stands alone
    }
    const auto ja = crlfLines(t.ja);
    for (std::size_t i = 2; i < ja.size(); ++i) {
      if (!ja[i].empty()) {
        EXPECT_TRUE(startsWith(ja[i], kIdeographicSpace)) << ja[i];
      }
    }
    const auto en = crlfLines(t.en);
    for (std::size_t i = 2; i < en.size(); ++i) {
      if (!en[i].empty()) {
        EXPECT_TRUE(startsWith(en[i], "  ")) << en[i];
      }
    }
  }
}

TEST(StepText, SuccessTextsContinueTheStartTextsAndAskForNext) {
  const std::pair<InfoText, InfoText> pairs[] = {
      {InfoText::T2a, InfoText::T2b}, {InfoText::T5a, InfoText::T5b}, {InfoText::T7a, InfoText::T7b}};
  for (const auto& [a, b] : pairs) {
    const Text& start = stepText(a);
    const Text& done = stepText(b);
    EXPECT_TRUE(startsWith(done.ja, std::string(start.ja) + "\r\n\r\n")) << done.ja;
    EXPECT_TRUE(startsWith(done.en, std::string(start.en) + "\r\n\r\n")) << done.en;
    EXPECT_TRUE(endsWith(done.ja, "「次へ」をクリックしてください。")) << done.ja;
    EXPECT_TRUE(endsWith(done.en, "Click [Next].")) << done.en;
  }
}

TEST(StepText, QuotedSamplesAreExact) {
  EXPECT_STREQ(stepText(InfoText::T2a).en,
               "2. Getting the previous parameters before update\r\n\r\n"
               "  Getting parameters stored in the VQ system.\r\n"
               "  Do not turn off the power of your VQ system.\r\n  Please wait for a while.");
  EXPECT_STREQ(stepText(InfoText::T2a).ja,
               "２．更新前パラメーターの取得\r\n\r\n"
               "\u3000VQシステムに記録されているパラメーターを取得しています。\r\n"
               "\u3000VQシステムの電源を切らないでしばらくお待ちください。");
  // Trailing blanks before a break and the system's own spelling are part of the texts.
  EXPECT_NE(std::string(stepText(InfoText::T1).en).find("choose the update file \r\n     for firmware."),
            std::string::npos);
  EXPECT_NE(std::string(stepText(InfoText::T6).en).find("Calvorn can not gurantee proper operation"),
            std::string::npos);
  EXPECT_NE(std::string(stepText(InfoText::T4).ja).find("\u3000\u3000\u3000\u3000\u3000更新が始まると"),
            std::string::npos);
}

}  // namespace
}  // namespace vq::test
