#include "platform/port_problem.h"

#include "base/texts.h"

namespace vq {

std::string fncPortProblemText(const PortProblem& p) {
  using Kind = PortProblem::Kind;
  const std::string com = "COM" + std::to_string(p.comPort);
  const std::string dev = p.device.empty() ? com : p.device;
  switch (p.kind) {
    case Kind::None: return "";
    case Kind::NoDevice:
      if (p.device.empty())
        return com + pick({": シリアルデバイスが見つかりません。USBケーブル、または --com の指定を確認してください。",
                           ": no serial device found. Check the USB cable, or the port given with --com."});
      return com + ": " + dev +
             pick({" がありません。USBケーブル、または --com の指定を確認してください。",
                   " does not exist. Check the USB cable, or the port given with --com."});
    case Kind::Gone:
      return dev + pick({" が使用中に切断されました。USBケーブルを確認して挿し直し、「次へ」を押してください。",
                         " went away while in use. Check the USB cable, plug it back in and press Next."});
    case Kind::Forbidden:
      return dev + pick({": アクセスが拒否されました。sudo usermod -aG dialout $USER を実行し、ログアウトしてから再ログインしてください。",
                         ": permission denied. Run sudo usermod -aG dialout $USER, then log out and in."});
    case Kind::Busy:
      if (p.holder.empty())
        return dev + pick({" は別のプログラムが使用中です。そのプログラムを終了してから「次へ」を押してください。",
                           " is in use by another program. Close it and press Next."});
      return dev + pick({" は ", " is in use by "}) + p.holder +
             pick({" が使用中です。そのプログラムを終了してから「次へ」を押してください。", ". Close it and press Next."});
  }
  return "";
}

}  // namespace vq
