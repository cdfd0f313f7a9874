#include "flash/boot_texts.h"

namespace vq {

const StageTexts kConnectTexts{{"接続開始", "Connection started"}, {"接続完了", "Connection completed"}, {"", ""}};
const StageTexts kClockTexts{{"クロック設定開始", "Clock setting started"},
                             {"クロック設定完了", "Clock setting completed"},
                             {"", ""}};
const StageTexts kBaudRateTexts{{"書き込みボーレート設定開始", "Baud rate setting started"},
                                {"書き込みボーレート設定完了", "Baud rate setting completed"},
                                {"", ""}};
const StageTexts kEraseTexts{{"旧ファームウェア消去開始", "Erasing the old firmware started"},
                             {"旧ファームウェア消去完了", "Erasing the old firmware completed"},
                             {"", ""}};
const StageTexts kWriteTexts{{"新ファームウェア書き込み開始", "Writing new firmware started"},
                             {"新ファームウェア書き込み完了", "Writing new firmware completed"},
                             {"新ファームウェア書き込み中 ", "Now writing new firmware "}};
const StageTexts kSecurityTexts{{"最終設定開始", "Final setting started"}, {"最終設定完了", "Final setting completed"}, {"", ""}};
const StageTexts kVerifyTexts{{"ベリファイ開始", "Verifying started"},
                              {"ベリファイ完了", "Verifying completed"},
                              {"ベリファイ中 ", "Now verifying "}};

}  // namespace vq
