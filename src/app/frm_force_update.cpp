#include "app/frm_force_update.h"

#include <algorithm>
#include <string>

#include "app/update_journal_steps.h"
#include "base/param_store.h"
#include "base/state.h"
#include "base/texts.h"
#include "platform/platform.h"

namespace vq {

namespace {

constexpr std::size_t kSerialDigits = 5;

// Captions; the window title is the same in both languages.
constexpr Text kTxtCaption{"Forced update config",
    "Forced update config"};
constexpr Text kTxtModelTitle{"製品型番：",
    "Product Model number :"};
constexpr Text kTxtModelInfo{"更新を行う製品の型番を選択してください。",
    "Select the Model number for your updating product."};
constexpr Text kTxtSerialTitle{"シリアルナンバー：",
    "Serial number :"};
constexpr Text kTxtSerialInfo{"更新を行う製品のシリアルナンバー\r\n（5桁の数値）を入力してください。\r\nシリアルナンバーは製品に貼付されている\r\n銘板シールをご覧ください。",
    "Enter the serial number (5 digits) of your updating product.\r\nThe serial number can be checked on the product label that is attached on the product."};
constexpr Text kTxtSet{"設定",
    "Settings"};
constexpr Text kTxtCancel{"中止", "Cancel"};
constexpr Text kMsgNotNumeric{"シリアルナンバーに数値以外の文字が入力されいます。\r\n正しいナンバーを入力してから再度「Set」ボタンをクリックしてください。",
    "Non-numerical character was entered for the serial number field.\r\nEnter the correct serial number, and click [Set] again."};
constexpr Text kMsgWrongLength{"シリアルナンバーの桁数が正しくありません。\r\n正しいナンバーを入力してから再度「Set」ボタンをクリックしてください。",
    "The wrong number of digits was entered for the serial number field.\r\nEnter the correct serial number, and click [Set] again."};
constexpr Text kTxtSaved{"中断された更新の機器情報：", "Saved from an update cut short: "};
constexpr Text kTxtForget{"削除", "Forget"};
constexpr Text kAskForget{"保存された次の機器情報を削除しますか？\r\n\r\n",
                          "Forget the saved identity of this update cut short?\r\n\r\n"};
constexpr Text kAskForgetTail{"\r\n\r\n削除すると元に戻せません。", "\r\n\r\nThis cannot be undone."};
// The model list, in the order the operator sees it.
constexpr const char* kModels[] = {"VQA-7001", "VQA-7000"};

bool allDigits(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void closeDialog() { frmForceUpdate.open = false; }

}  // namespace

void frmForceUpdate_Load() {
  FrmForceUpdate& f = frmForceUpdate;
  f.caption = pick(kTxtCaption);
  f.fontName = windowFont();
  f.lblModelTitle.caption = pick(kTxtModelTitle);
  f.txtModelInfo.text = pick(kTxtModelInfo);
  f.lblSerialTitle.caption = pick(kTxtSerialTitle);
  f.txtSerialInfo.text = pick(kTxtSerialInfo);
  f.cmdSet.caption = pick(kTxtSet);
  f.cmdCancel.caption = pick(kTxtCancel);
  f.cboModel.clear();
  for (const char* model : kModels) f.cboModel.addItem(model);
  f.cboModel.listIndex = 0;
  f.txtSerial.text.clear();
  f.cmdForget.caption = pick(kTxtForget);
  // An update of this port's instrument was cut short: its identity filled in, for the
  // operator to compare with the instrument's label before Set.
  const std::optional<JournalEntry> saved = fncJournalOffer();
  f.lblSaved.visible = f.cmdForget.visible = saved.has_value();
  f.lblSaved.caption = saved ? pick(kTxtSaved) + fncJournalListLine(*saved) : "";
  if (saved) {
    const auto known = std::find(f.cboModel.items.begin(), f.cboModel.items.end(), saved->model);
    if (known == f.cboModel.items.end()) f.cboModel.addItem(saved->model);
    f.cboModel.listIndex = int(std::find(f.cboModel.items.begin(), f.cboModel.items.end(), saved->model) -
                               f.cboModel.items.begin());
    f.txtSerial.text = fncTypedSerial(saved->serial);
  }
  f.open = true;
}

void frmForceUpdate_cmdSet_Click() {
  const std::string& typed = frmForceUpdate.txtSerial.text;
  // A non-digit is reported before a wrong length; an empty field counts as non-numerical.
  if (typed.empty() || !allDigits(typed)) {
    platform().messageBox(pick(kMsgNotNumeric));
    return;
  }
  if (typed.size() != kSerialDigits) {
    platform().messageBox(pick(kMsgWrongLength));
    return;
  }
  const std::optional<JournalEntry> saved = fncJournalOffer();
  gModelName = frmForceUpdate.cboModel.text();
  gSerialNo = " " + typed;  // as wide as the serial number the instrument reports
  // The saved setting and version go only with the identity they were saved with.
  if (saved && saved->model == gModelName && saved->serial == gSerialNo) subApplyJournal(*saved);
  gForceUpdate = true;
  closeDialog();
}

void frmForceUpdate_cmdForget_Click() {
  const std::optional<JournalEntry> saved = fncJournalOffer();
  if (!saved) return;
  if (!platform().askYesNo(pick(kAskForget) + fncJournalSummary(*saved) + pick(kAskForgetTail))) return;
  subForgetJournal(saved->model, saved->serial);
  // The dialog as it is without a saved update; what the operator typed is kept.
  const std::string typed = frmForceUpdate.txtSerial.text;
  frmForceUpdate_Load();
  frmForceUpdate.txtSerial.text = typed;
}

void frmForceUpdate_cmdCancel_Click() {
  gForceUpdate = false;
  closeDialog();
}

// Dismissing the dialog must not repeat an earlier Set's jump to step 3.
void frmForceUpdate_QueryUnload() { frmForceUpdate_cmdCancel_Click(); }

}  // namespace vq
