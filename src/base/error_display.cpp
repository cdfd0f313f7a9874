// The one display of failures: gErrCode turned into a message box in the operator's language.
// Codes 11-15 come from the instrument link, 21-23 from the update file, 30-37 from the firmware
// update, 99 from anything else. The texts are the system's own, odd spellings included.
#include "base/error_display.h"

#include <array>
#include <utility>

#include "base/state.h"
#include "base/wizard_codes.h"

namespace vq {

namespace {

struct ErrorMessage {
  std::uint8_t code;
  Text text;
};

constexpr std::array<ErrorMessage, kWizardCodes.size()> kErrorMessages{{
    {kCodeLinkNoPort,
     {"通信が開始できません。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　弊社サポートまでご連絡ください。",
      "Unable to initiate the communication.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  please contact the Calvorn office."}},
    {kCodeLinkRetries,
     {"通信で過剰なリトライが発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　一度USBケーブルを抜いてしばらく待った後に再挿入してください。\r\n　改善されない場合は弊社サポートまでご連絡ください。",
      "Excessive retries occur when communicating.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n　remove the USB cable and re-connect it after a while. \r\n  If the error can not be remedied by any solution, \r\n  please contact the Calvorn office."}},
    {kCodeLinkTimeout,
     {"通信でタイムアウトが発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　一度USBケーブルを抜いてしばらく待った後に再挿入してください。\r\n　改善されない場合は弊社サポートまでご連絡ください。",
      "Time out occurs when communicating.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n　remove the USB cable and re-connect it after a while. \r\n  If the error can not be remedied by any solution, \r\n  please contact the Calvorn office."}},
    {kCodeLinkSettings,
     {"通信設定が正しくありません。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　一度USBケーブルを抜いてしばらく待った後に再挿入してください。\r\n　改善されない場合は弊社サポートまでご連絡ください。",
      "Incorrect communication setting.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n　remove the USB cable and re-connect it after a while. \r\n  If the error can not be remedied by any solution, \r\n  please contact the Calvorn office."}},
    {kCodeFileName,
     {"更新用ファイルの名前が正しくありません。\r\n\r\n　更新用ファイルを選択しなおしてください。",
      "The filename of updating file is not correct.\r\n\r\n  Select the updating file again."}},
    {kCodeFileInvalid,
     {"更新ファイルが正しくありません。\r\n\r\n　更新用ファイルを選択しなおしてください。\r\n　正しいファイルを選択しているにかかわらずエラーが発生する場合\r\n　更新用ファイルが壊れている可能性があります。\r\n　その場合は更新用ファイルを入手しなおしてください。",
      "The updating file is not correct.\r\n\r\n  Select the updating file again.\r\n  If an error occurs despite of selecting the correct file, \r\n  there is a problem in the updating file possibly.\r\n　Get the updating file again."}},
    {kCodeFileOpen,
     {"更新用ファイルが開けません。\r\n\r\n　更新用ファイルを選択しなおしてください。",
      "The updating file can not be opened.\r\n\r\n  Select the updating file again."}},
    {kCodeFlashRunTime,
     {"通信が開始できません。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　一度USBケーブルを抜いてしばらく待った後に再挿入してください。\r\n　改善されない場合は弊社サポートまでご連絡ください。",
      "Unable to initiate the communication.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  remove the USB cable and re-connect it after a while. \r\n　If the error can not be remedied by any solution, \r\n  please contact the Calvorn office."}},
    {kCodeFlashNoConnection,
     {"更新の接続が確立できません。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　一度USBケーブルを抜いてしばらく待った後に再挿入してください。\r\n　改善されない場合は弊社サポートまでご連絡ください。",
      "The connection for updating can not be established.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  remove the USB cable and re-connect it after a while. \r\n　If the error can not be remedied by any solution, \r\n  please contact the Calvorn office."}},
    {kCodeFlashRetries,
     {"更新処理で過剰なリトライが発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　一度USBケーブルを抜いてしばらく待った後に再挿入してください。\r\n　改善されない場合は弊社サポートまでご連絡ください。",
      "Excessive retry occurs when updating process.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  remove the USB cable and re-connect it after a while. \r\n　If the error can not be remedied by any solution, \r\n  please contact the Calvorn office."}},
    {kCodeFlashTimeout,
     {"更新処理でタイムアウトが発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　一度USBケーブルを抜いてしばらく待った後に再挿入してください。\r\n　改善されない場合は弊社サポートまでご連絡ください。",
      "Timeout occurs when updating process.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  remove the USB cable and re-connect it after a while. \r\n　If the error can not be remedied by any solution, \r\n  please contact the Calvorn office."}},
    {kCodeFlashSetting,
     {"更新処理の設定で異常が発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　弊社サポートまでご連絡ください。",
      "The failure occurs when setting the updating process. \r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  please contact the Calvorn office."}},
    {kCodeFlashErase,
     {"ファームウェアの消去で異常が発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　弊社サポートまでご連絡ください。",
      "The failure occurs when erasing the firmware.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  please contact the Calvorn office."}},
    {kCodeFlashWrite,
     {"ファームウェアの書き込みで異常が発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　弊社サポートまでご連絡ください。",
      "The failure occurs when writing the firmware.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  please contact the Calvorn office."}},
    {kCodeFlashVerify,
     {"ファームウェアのベリファイで異常が発生しました。\r\n\r\n　機器間の接続、通信設定を確認してください。\r\n　接続や設定が正しいにも関わらず何度もこのエラーが発生知る場合は\r\n　弊社サポートまでご連絡ください。",
      "The failure occurs when verifying the firmware.\r\n\r\n  Check the connections of instrument and communication settings.\r\n  If this error occurs despite of correct settings and connections, \r\n  please contact the Calvorn office."}},
    {kCodeUnknown,
     {"原因不明のエラーが発生しました。\r\n　このアプリケーションをいったん終了し以下のことを確認してください。\r\n　　・パソコンとVQシステムが正しく接続されていますか？\r\n　　・VQシステムは通常モードで起動していますか？\r\n　　・通信設定は正しく設定されていますか？\r\n　確認が済みましたら、再度アプリケーションを起動してください。",
      "Unknown error occurs.\r\n  Quit this application, and confirm the following matters.\r\n    Is your computer connected with the VQ system correctly?\r\n    Is your VQ system started up in normal mode?\r\n    Is your communication setting set correctly?\r\n  Re-start the application after checkings."}},
}};

}  // namespace

const Text* errorText(int code) {
  for (const auto& m : kErrorMessages) {
    if (m.code == code) return &m.text;
  }
  return nullptr;
}

namespace {
std::function<void(const std::string&)> gShowMessageBox;
}  // namespace

void setErrorMessageBox(std::function<void(const std::string&)> show) { gShowMessageBox = std::move(show); }

void subShowError() {
  const Text* t = errorText(gErrCode);
  if (t && gShowMessageBox) gShowMessageBox(pick(*t));
}

}  // namespace vq
