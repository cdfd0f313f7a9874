// The forced-update dialog: what it shows, how it checks the serial number, and how the main
// window acts on Set, Cancel and the close box.
#include "app/frm_force_update.h"
#include "base/param_store.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

using ForceUpdate = WizardTest;

constexpr const char* kNotNumericEn =
    "Non-numerical character was entered for the serial number field.\r\nEnter the correct serial number, and "
    "click [Set] again.";
constexpr const char* kWrongLengthEn =
    "The wrong number of digits was entered for the serial number field.\r\nEnter the correct serial number, "
    "and click [Set] again.";

TEST_F(ForceUpdate, LoadShowsTheModelsFirstSelectedAndAnEmptySerial) {
  frmForceUpdate.txtSerial.text = "99999";  // left from an earlier showing
  frmForceUpdate_Load();
  EXPECT_EQ(frmForceUpdate.caption, "Forced update config");
  EXPECT_EQ(frmForceUpdate.fontName, "Courier New");
  EXPECT_EQ(frmForceUpdate.cboModel.items, (std::vector<std::string>{"VQA-7001", "VQA-7000"}));
  EXPECT_EQ(frmForceUpdate.cboModel.listIndex, 0);
  EXPECT_EQ(frmForceUpdate.txtSerial.text, "");
  EXPECT_TRUE(frmForceUpdate.open);
  EXPECT_EQ(frmForceUpdate.lblModelTitle.caption, "Product Model number :");
  EXPECT_EQ(frmForceUpdate.cmdSet.caption, "Settings");
  EXPECT_EQ(frmForceUpdate.cmdCancel.caption, "Cancel");
  EXPECT_EQ(frmForceUpdate.txtSerialInfo.text,
            "Enter the serial number (5 digits) of your updating product.\r\nThe serial number can be checked on "
            "the product label that is attached on the product.");
}

TEST_F(ForceUpdate, LoadInJapanese) {
  load(1041);
  frmForceUpdate_Load();
  EXPECT_EQ(frmForceUpdate.caption, "Forced update config");
  EXPECT_EQ(frmForceUpdate.fontName, "ＭＳ ゴシック");
  EXPECT_EQ(frmForceUpdate.lblSerialTitle.caption, "シリアルナンバー：");
  EXPECT_EQ(frmForceUpdate.cmdSet.caption, "設定");
  EXPECT_EQ(frmForceUpdate.cmdCancel.caption, "中止");
  EXPECT_EQ(frmForceUpdate.cboModel.items, (std::vector<std::string>{"VQA-7001", "VQA-7000"}));
}

struct SerialCase {
  const char* typed;
  const char* message;  // nullptr: accepted
};

const SerialCase kSerials[] = {
    {"12345", nullptr},
    {"00000", nullptr},
    {"1234", kWrongLengthEn},
    {"123456", kWrongLengthEn},
    {"12a45", kNotNumericEn},
    {"", kNotNumericEn},
    {"12.45", kNotNumericEn},
    {"-1234", kNotNumericEn},
    {" 1234", kNotNumericEn},
    {"1234a6", kNotNumericEn},  // a non-digit is reported before the length
};

TEST_F(ForceUpdate, SetChecksTheSerialNumber) {
  for (const auto& c : kSerials) {
    SCOPED_TRACE(c.typed);
    load();
    gModelName = "OLDMODEL";
    gSerialNo = " 00001";
    frmForceUpdate_Load();
    frmForceUpdate.txtSerial.text = c.typed;
    frmForceUpdate_cmdSet_Click();
    if (c.message) {
      ASSERT_EQ(p->messages.size(), 1u);
      EXPECT_EQ(p->messages[0], c.message);
      EXPECT_TRUE(frmForceUpdate.open);
      EXPECT_FALSE(gForceUpdate);
      EXPECT_EQ(gModelName, "OLDMODEL");
      EXPECT_EQ(gSerialNo, " 00001");
    } else {
      EXPECT_TRUE(p->messages.empty());
      EXPECT_FALSE(frmForceUpdate.open);
      EXPECT_TRUE(gForceUpdate);
      EXPECT_EQ(gModelName, "VQA-7001");
      EXPECT_EQ(gSerialNo, std::string(" ") + c.typed);
    }
  }
}

TEST_F(ForceUpdate, MessagesInJapanese) {
  load(1041);
  frmForceUpdate_Load();
  frmForceUpdate.txtSerial.text = "12a45";
  frmForceUpdate_cmdSet_Click();
  frmForceUpdate.txtSerial.text = "1234";
  frmForceUpdate_cmdSet_Click();
  EXPECT_EQ(p->messages, (std::vector<std::string>{
                             "シリアルナンバーに数値以外の文字が入力されいます。\r\n正しいナンバーを入力してから再度「Set」"
                             "ボタンをクリックしてください。",
                             "シリアルナンバーの桁数が正しくありません。\r\n正しいナンバーを入力してから再度「Set」ボタン"
                             "をクリックしてください。"}));
}

// How the operator leaves the dialog the second time, after a first Set that jumped to step 3.
struct Leaving {
  const char* name;
  std::function<void()> act;
  bool jumps;
};

TEST_F(ForceUpdate, OnlySetJumpsToStepThree) {
  const Leaving cases[] = {
      {"Set", [] { frmForceUpdate.txtSerial.text = "11111";
         frmForceUpdate_cmdSet_Click();
       }, true},
      {"Cancel", [] { frmForceUpdate_cmdCancel_Click(); }, false},
      {"close box", [] { frmForceUpdate_QueryUnload(); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    load();
    p->onForceUpdateDialog = [] {
      frmForceUpdate_Load();
      frmForceUpdate.txtSerial.text = "12345";
      frmForceUpdate_cmdSet_Click();
    };
    cmdForceUpdate_Click();
    ASSERT_EQ(gStep, 2);
    cmdNext_Click();
    ASSERT_EQ(gStep, 3);

    p->onForceUpdateDialog = [&] {
      frmForceUpdate_Load();
      c.act();
    };
    cmdForceUpdate_Click();
    EXPECT_FALSE(frmForceUpdate.open);
    EXPECT_EQ(gForceUpdate, c.jumps);
    EXPECT_EQ(gStep, c.jumps ? 2 : 3);
  }
}

}  // namespace
}  // namespace vq::test
