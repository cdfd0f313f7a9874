// Error messages: every code has both texts with the right first line and line layout; the
// display shows the operator's language and nothing for codes without a text.
#include "app/reset_all_state.h"
#include "base/error_display.h"
#include "base/wizard_codes.h"

#include <gtest/gtest.h>

#include "base/state.h"
#include "platform/virtual/virtual_platform.h"
#include "unit/app/text_checks.h"

namespace vq::test {
namespace {

struct MessageCase {
  int code;
  const char* jaFirstLine;
  const char* enFirstLine;
  std::size_t jaLines, enLines;
};

const MessageCase kMessages[] = {
    {11, "通信が開始できません。", "Unable to initiate the communication.", 5, 5},
    {12, "通信で過剰なリトライが発生しました。", "Excessive retries occur when communicating.", 6, 7},
    {13, "通信でタイムアウトが発生しました。", "Time out occurs when communicating.", 6, 7},
    {15, "通信設定が正しくありません。", "Incorrect communication setting.", 6, 7},
    {21, "更新用ファイルの名前が正しくありません。", "The filename of updating file is not correct.", 3, 3},
    {22, "更新ファイルが正しくありません。", "The updating file is not correct.", 6, 6},
    {23, "更新用ファイルが開けません。", "The updating file can not be opened.", 3, 3},
    {30, "通信が開始できません。", "Unable to initiate the communication.", 6, 7},
    {31, "更新の接続が確立できません。", "The connection for updating can not be established.", 6, 7},
    {32, "更新処理で過剰なリトライが発生しました。", "Excessive retry occurs when updating process.", 6, 7},
    {33, "更新処理でタイムアウトが発生しました。", "Timeout occurs when updating process.", 6, 7},
    {34, "更新処理の設定で異常が発生しました。", "The failure occurs when setting the updating process. ", 5, 5},
    {35, "ファームウェアの消去で異常が発生しました。", "The failure occurs when erasing the firmware.", 5, 5},
    {36, "ファームウェアの書き込みで異常が発生しました。", "The failure occurs when writing the firmware.", 5, 5},
    {37, "ファームウェアのベリファイで異常が発生しました。", "The failure occurs when verifying the firmware.", 5, 5},
    {99, "原因不明のエラーが発生しました。", "Unknown error occurs.", 6, 6},
};

// The English texts that indent one line with an ideographic space instead of two blanks.
bool enHasIdeographicIndent(int code) {
  switch (code) {
    case 12: case 13: case 15: case 22: case 30: case 31: case 32: case 33: return true;
    default: return false;
  }
}

TEST(ErrorText, EveryCodeHasBothTextsWithItsFirstLineAndLineCount) {
  for (const auto& c : kMessages) {
    SCOPED_TRACE(c.code);
    const Text* t = errorText(c.code);
    ASSERT_NE(t, nullptr);
    const auto ja = crlfLines(t->ja);
    const auto en = crlfLines(t->en);
    EXPECT_EQ(ja.front(), c.jaFirstLine);
    EXPECT_EQ(en.front(), c.enFirstLine);
    EXPECT_EQ(ja.size(), c.jaLines);
    EXPECT_EQ(en.size(), c.enLines);
  }
  // The wizard's code table and the messages are the same set.
  ASSERT_EQ(std::size(kMessages), kWizardCodes.size());
  for (std::uint8_t code : kWizardCodes) EXPECT_NE(errorText(code), nullptr) << int(code);
}

TEST(ErrorText, LinesBreakWithCrLfAndAreIndentedAsTheSystemWroteThem) {
  for (const auto& c : kMessages) {
    SCOPED_TRACE(c.code);
    const Text* t = errorText(c.code);
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(hasLoneBreak(t->ja));
    EXPECT_FALSE(hasLoneBreak(t->en));
    EXPECT_FALSE(endsWith(t->ja, "\r\n"));
    EXPECT_FALSE(endsWith(t->en, "\r\n"));

    const auto ja = crlfLines(t->ja);
    for (std::size_t i = 1; i < ja.size(); ++i) {
      if (!ja[i].empty()) {
        EXPECT_TRUE(startsWith(ja[i], kIdeographicSpace)) << ja[i];
      }
    }
    const auto en = crlfLines(t->en);
    int ideographic = 0;
    for (std::size_t i = 1; i < en.size(); ++i) {
      if (en[i].empty()) continue;
      if (startsWith(en[i], kIdeographicSpace)) {
        ++ideographic;
      } else {
        EXPECT_TRUE(startsWith(en[i], "  ")) << en[i];
      }
    }
    EXPECT_EQ(ideographic, enHasIdeographicIndent(c.code) ? 1 : 0);
    EXPECT_TRUE(endsWith(t->en, "please contact the Calvorn office.") || c.code == 21 ||
                c.code == 22 || c.code == 23 || c.code == 99)
        << t->en;
  }
}

TEST(ErrorText, PortMissingAndStepFiveStartFailureDifferOnlyAfterTheFirstLine) {
  const Text* link = errorText(11);
  const Text* flash = errorText(30);
  ASSERT_NE(link, nullptr);
  ASSERT_NE(flash, nullptr);
  EXPECT_EQ(crlfLines(link->en).front(), crlfLines(flash->en).front());
  EXPECT_EQ(crlfLines(link->ja).front(), crlfLines(flash->ja).front());
  EXPECT_EQ(std::string(link->en).find("USB cable"), std::string::npos);
  EXPECT_NE(std::string(flash->en).find("remove the USB cable"), std::string::npos);
  EXPECT_EQ(std::string(link->ja).find("USBケーブル"), std::string::npos);
  EXPECT_NE(std::string(flash->ja).find("USBケーブル"), std::string::npos);
}

TEST(ErrorText, QuotedSamplesAreExact) {
  EXPECT_STREQ(errorText(21)->en,
               "The filename of updating file is not correct.\r\n\r\n  Select the updating file again.");
  EXPECT_STREQ(errorText(23)->ja,
               "更新用ファイルが開けません。\r\n\r\n\u3000更新用ファイルを選択しなおしてください。");
  EXPECT_STREQ(errorText(99)->ja,
               "原因不明のエラーが発生しました。\r\n"
               "\u3000このアプリケーションをいったん終了し以下のことを確認してください。\r\n"
               "\u3000\u3000・パソコンとVQシステムが正しく接続されていますか？\r\n"
               "\u3000\u3000・VQシステムは通常モードで起動していますか？\r\n"
               "\u3000\u3000・通信設定は正しく設定されていますか？\r\n"
               "\u3000確認が済みましたら、再度アプリケーションを起動してください。");
  // The system's own spelling, kept.
  EXPECT_NE(std::string(errorText(12)->ja).find("発生知る場合は"), std::string::npos);
}

TEST(ErrorText, CodesWithoutTextHaveNone) {
  for (int code : {0, 1, 10, 14, 16, 20, 24, 29, 38, 98, 100, 255}) {
    EXPECT_EQ(errorText(code), nullptr) << code;
  }
}

class ShowError : public ::testing::Test {
 protected:
  virt::VirtualPlatform p;
  void SetUp() override { resetAllState(); }
};

TEST_F(ShowError, ShowsTheTextOfTheOperatorsLanguageAndKeepsTheCode) {
  struct Case {
    int langId;
    const char* firstLine;
  };
  const Case cases[] = {
      {1041, "ファームウェアの書き込みで異常が発生しました。"},
      {1033, "The failure occurs when writing the firmware."},
      {2052, "The failure occurs when writing the firmware."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.langId);
    p.messages.clear();
    gLangId = static_cast<std::int16_t>(c.langId);
    gErrCode = 36;
    subShowError();
    ASSERT_EQ(p.messages.size(), 1u);
    EXPECT_EQ(crlfLines(p.messages[0]).front(), c.firstLine);
    EXPECT_EQ(gErrCode, 36);
  }
}

TEST_F(ShowError, ShowsEveryKnownCodeOnce) {
  for (int lang : {1041, 1033}) {
    gLangId = static_cast<std::int16_t>(lang);
    for (const auto& c : kMessages) {
      SCOPED_TRACE(c.code);
      p.messages.clear();
      gErrCode = static_cast<std::uint8_t>(c.code);
      subShowError();
      ASSERT_EQ(p.messages.size(), 1u);
      EXPECT_EQ(p.messages[0], lang == 1041 ? errorText(c.code)->ja : errorText(c.code)->en);
    }
  }
}

TEST_F(ShowError, ShowsNothingForNoErrorOrAnUnknownCode) {
  for (int code : {0, 1, 14, 38, 255}) {
    gErrCode = static_cast<std::uint8_t>(code);
    subShowError();
    EXPECT_EQ(gErrCode, code);
  }
  EXPECT_TRUE(p.messages.empty());
}

}  // namespace
}  // namespace vq::test
