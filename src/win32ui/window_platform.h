// The platform of the Win32 window: the loop of window_loop.h for the yields, the system's
// message box (OK only; Yes and No for a question), the open-file dialog, the system's
// language, the hourglass, the screen's size and the COM ports as the system names them.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/native/com_port_map.h"
#include "platform/platform.h"
#include "win32ui/window_loop.h"

namespace vq::win32ui {

class WindowPlatform : public Platform {
 public:
  WindowPlatform(const native::ComPortMap& map, WindowLoop& loop);

  void doEvents() override;
  void waitEvents() override;
  void sleepMs(int ms) override;
  void messageBox(const std::string& text) override;
  bool askYesNo(const std::string& text) override;
  std::string openFileDialog(const std::string& filterDescription, const std::string& pattern) override;
  int systemLangId() override;
  void setBusyCursor(bool busy) override;
  int screenWidth() override;
  int screenHeight() override;
  std::string deviceName(int comPort) override;
  // The port's friendly name from the system's device list, without its "(COMn)"; the bare
  // device where the system has none (Wine lists no port devices).
  std::string portDescription(int comPort) override;

  // The windows: who owns a message box (the modal dialog in front, else the main window),
  // and the models copied into them.
  std::function<HWND()> owner;
  std::function<void()> mirror;
  void mirrorAll();
  // After a yield, the models are copied at most this often.
  void mirrorIfDue();
  bool busy() const { return busy_; }
  // The autopilot answers the file dialog itself.
  void setFileAnswer(std::optional<std::string> path) { fileAnswer_ = std::move(path); }

 private:
  int box(const std::string& text, UINT type);

  const native::ComPortMap& map_;
  WindowLoop& loop_;
  std::chrono::steady_clock::time_point lastEvents_{};
  std::chrono::steady_clock::time_point lastMirror_{};
  bool busy_ = false;
  std::optional<std::string> fileAnswer_;
  // Between yields (the wizard idle, a batch left open) changes are picked up this often.
  std::unique_ptr<native::LoopTimer> idleMirror_;
};

}  // namespace vq::win32ui
