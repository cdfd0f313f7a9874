// Instruction texts of the wizard steps, one (Japanese, English) pair each. Every line ends in
// CR LF except the last; the Japanese texts indent with the ideographic space, the English ones
// with two blanks. The "b" texts repeat their "a" text and add the request to press Next.
#include "app/step_texts.h"

#include <array>

namespace vq {

namespace {

// In the order of InfoText.
constexpr std::array<Text, 11> kStepTexts{{
    // 1
    {"１．開始\r\n\r\n　①VQシステムとパソコンをUSBケーブルで接続してください。\r\n　②右上の「...」をクリックして更新用ファームウェアのファイルを選択してください。\r\n　③左下の「通信設定」をクリックして通信ポートの設定を行ってください。\r\n　④VQシステムを通常モードで起動してください。\r\n\r\n　上記の作業が終わりましたら、「次へ」をクリックしてください。",
     "1. Start\r\n\r\n  a. Connect your computer and VQ system with USB cable.\r\n  b. Click [...] on the upper right, and choose the update file \r\n     for firmware.\r\n  c. Click [Comm Setting] on the lower left, \r\n     and set the communication port.\r\n  d. Start your VQ system in normal mode.\r\n\r\n  Once those tasks above finished, click [Next]."},
    // 2a
    {"２．更新前パラメーターの取得\r\n\r\n　VQシステムに記録されているパラメーターを取得しています。\r\n　VQシステムの電源を切らないでしばらくお待ちください。",
     "2. Getting the previous parameters before update\r\n\r\n  Getting parameters stored in the VQ system.\r\n  Do not turn off the power of your VQ system.\r\n  Please wait for a while."},
    // 2b
    {"２．更新前パラメーターの取得\r\n\r\n　VQシステムに記録されているパラメーターを取得しています。\r\n　VQシステムの電源を切らないでしばらくお待ちください。\r\n\r\n　更新前パラメーターの取得が完了しました。\r\n　「次へ」をクリックしてください。",
     "2. Getting the previous parameters before update\r\n\r\n  Getting parameters stored in the VQ system.\r\n  Do not turn off the power of your VQ system.\r\n  Please wait for a while.\r\n\r\n  Getting the parameters before update has been completed.\r\n  Click [Next]."},
    // 3
    {"３．ファームウェアのバージョン確認\r\n\r\n　右上に表示されている更新前、更新後のファームウェアのバージョンを確認してください。\r\n　更新用ファームウェアのファイルが未選択の場合は処理を続けることが出来ません。\r\n　右上の「...」をクリックしてファイルを選択してください。\r\n\r\n　確認が終わりましたら「次へ」をクリックしてください。\r\n\r\n　更新処理を中断する場合は「中止」をクリックしてください。",
     "3. Checking the version of firmware\r\n\r\n  Check the firmware version before/after update, on the upper right.\r\n  If the update file for firmware is not selected, \r\n  this process cannot proceed.\r\n  Click [...] on the upper right, and choose the file.\r\n\r\n  Click [Next] after checkings.\r\n\r\n  Click [Stop] if updating work needs to be stopped."},
    // 4
    {"４．ファームウェアの更新準備\r\n\r\n　ファームウェアの更新を行います。\r\n　①VQシステムの主電源を切ってください。\r\n　②VQシステムの前面パネルにある「FW」スイッチを「W」側へ動かしてください。\r\n　③VQシステムの主電源を入れてください。\r\n　　パイロットLEDが「緑⇔赤」と交互に点滅していることを確認してから\r\n　　「次へ」をクリックしてください。\r\n\r\n　注意！：「次へ」をクリックすることでファームウェアの更新が始まります。\r\n　　　　　更新が始まると処理を中断することはできません。\r\n\r\n　更新処理を中断する場合は「中止」をクリックしてください。",
     "4. Preparation for firmware update\r\n\r\n  Firmware update will be started.\r\n  a. Turn off the main power of your VQ system.\r\n  b. On the front panel of your VQ system, change the FW switch \r\n     to the [W] side.\r\n  c. Turn on the main power of your VQ system.\r\n     Confirm the LED pilot blinking green and red, and click [Next].\r\n\r\n  CAUTION! : Firmware update will be started by clicking [Next]. \r\n             Once the firmware update is started, it can not be \r\n             aborted during the process.\r\n\r\n  Click [Stop] if updating work needs to be stopped."},
    // 5a
    {"５．ファームウェアの更新中\r\n\r\n　ファームウェアを更新しています。\r\n　※この処理は２～３分ほどかかります。\r\n\r\n　更新中はVQシステムの電源を切らずにしばらくお待ちください。\r\n\r\n　注意！：更新中にVQシステムの電源が落ちた場合は動作保証をすることができません。\r\n　　　　　もし不慮の事故により電源が落ちた場合は弊社サポートまでご連絡ください。",
     "5. Now updating the firmware\r\n\r\n  The firmware is updating.\r\n  *This process takes 2 or 3 minutes approximately.\r\n\r\n  Do not turn off the power of your VQ system in the middle of \r\n  updating process.\r\n  Please wait for a while.\r\n  CAUTION! : If the power of VQ system shut down by any possibility, \r\n             Calvorn can not gurantee proper operation of the product.\r\n             If the power of VQ system shut down accidentally, \r\n             please contact the Calvorn office."},
    // 5b
    {"５．ファームウェアの更新中\r\n\r\n　ファームウェアを更新しています。\r\n　※この処理は２～３分ほどかかります。\r\n\r\n　更新中はVQシステムの電源を切らずにしばらくお待ちください。\r\n\r\n　注意！：更新中にVQシステムの電源が落ちた場合は動作保証をすることができません。\r\n　　　　　もし不慮の事故により電源が落ちた場合は弊社サポートまでご連絡ください。\r\n\r\n　更新作業が終了しました。「次へ」をクリックしてください。",
     "5. Now updating the firmware\r\n\r\n  The firmware is updating.\r\n  *This process takes 2 or 3 minutes approximately.\r\n\r\n  Do not turn off the power of your VQ system in the middle of \r\n  updating process.\r\n  Please wait for a while.\r\n  CAUTION! : If the power of VQ system shut down by any possibility, \r\n             Calvorn can not gurantee proper operation of the product.\r\n             If the power of VQ system shut down accidentally, \r\n             please contact the Calvorn office.\r\n\r\n  The firmware update is completed. Click [Next]."},
    // 6
    {"６．パラメーターの更新準備\r\n\r\n　パラメーターの更新を行います。\r\n　①VQシステムの主電源を切ってください。\r\n　②VQシステムの前面パネルにある「FW」スイッチを「-」側へ動かしてください。\r\n　③VQシステムの主電源を入れてください。\r\n　　パイロットLEDが「緑」に点灯していることを確認してから\r\n　　「次へ」をクリックしてください。\r\n\r\n　注意！：「次へ」をクリックすることでパラメーターの更新が始まります。\r\n　　　　　ここで更新処理を中断した場合にはVQシステムの動作を保証することができません。",
     "6. Preparation for updating parameters\r\n\r\n  Updating parameters will be started.\r\n  a. Turn off the main power of your VQ system.\r\n  b. On the front panel of your VQ system, change the FW switch \r\n     to the [-] side.\r\n  c. Turn on the main power of your VQ system.\r\n     Confirm the LED pilot lighted up in green, and click [Next].\r\n\r\n  CAUTION! : After clicking [Next], updating parameters will be started.\r\n             Calvorn can not gurantee proper operation of the VQ system \r\n             if the updating is aborted in the middle of process."},
    // 7a
    {"７．パラメーターの更新中\r\n\r\n　パラメーターを更新しています。\r\n　更新中はVQシステムの電源を切らずにしばらくお待ちください。\r\n\r\n　注意！：更新中にVQシステムの電源が落ちた場合は動作保証をすることができません。\r\n　　　　　もし不慮の事故により電源が落ちた場合は弊社サポートまでご連絡ください。",
     "7. Now updating parameters\r\n\r\n  Currently parameters are in updating process.\r\n  Do not turn off the power of your VQ system when updating.\r\n  Please wait for a while.\r\n\r\n  CAUTION! : Calvorn can not gurantee proper operation of the VQ system \r\n             if it has been shut down in the middle of updating.\r\n             If your VQ system has been accidentaly shut down \r\n             when updating, \r\n             Please contact the Calvorn office."},
    // 7b
    {"７．パラメーターの更新中\r\n\r\n　パラメーターを更新しています。\r\n　更新中はVQシステムの電源を切らずにしばらくお待ちください。\r\n\r\n　注意！：更新中にVQシステムの電源が落ちた場合は動作保証をすることができません。\r\n　　　　　もし不慮の事故により電源が落ちた場合は弊社サポートまでご連絡ください。\r\n\r\n　パラメーターの更新が完了しました。\r\n　「次へ」をクリックしてください。",
     "7. Now updating parameters\r\n\r\n  Currently parameters are in updating process.\r\n  Do not turn off the power of your VQ system when updating.\r\n  Please wait for a while.\r\n\r\n  CAUTION! : Calvorn can not gurantee proper operation of the VQ system \r\n             if it has been shut down in the middle of updating.\r\n             If your VQ system has been accidentaly shut down \r\n             when updating, \r\n             Please contact the Calvorn office.\r\n\r\n  Updating parameters completed. Click [Next]."},
    // 8
    {"８．更新作業の終了\r\n\r\n　更新作業が終了しました。\r\n　VQシステムを再起動しファームウェアのバージョンが\r\n　「更新後」のバージョンと同じことを確認してください。\r\n\r\n　もしバージョンが「更新前」のバージョンのままの場合は更新が失敗しています。\r\n　更新作業を最初からやり直してください。",
     "8. Completion of updating work\r\n\r\n  Updating work is completed.\r\n  Re-start your VQ system.\r\n  Make sure the current firmware version is the same as of \r\n  updated version.\r\n\r\n  If the firmware version does not change from one before update, \r\n  it means the update has failed.\r\n  Start over the updating work from the beginning."},
}};

}  // namespace

const Text& stepText(InfoText t) { return kStepTexts[static_cast<std::size_t>(t)]; }

}  // namespace vq
