// The three forms as Win32 windows over the same models the Qt window renders, and the
// Windows seam of the procedures (platform/app_windows.h): the forced-update dialog shown modally
// in a loop of ours, the port dialog modeless, the repaint and the end.
#pragma once
#include <chrono>
#include <memory>

#include "platform/app_windows.h"
#include "win32ui/form_window.h"
#include "win32ui/window_loop.h"
#include "win32ui/window_platform.h"

namespace vq::win32ui {

class ProgramWindows : public Windows {
 public:
  ProgramWindows(WindowLoop& loop, WindowPlatform& platform);
  ~ProgramWindows() override;

  // Loads frmMain (frmMain_Load), copies it in and shows the window.
  void start();

  void showForceUpdateDialog() override;
  void showPortConfDialog() override;
  void closePortConfDialog() override;
  void refresh() override;
  void quit() override;

  void mirrorAll();
  FormWindow& main() { return main_; }
  // The dialog in front, or the main window: the owner of a message box.
  HWND front() const;
  HWND portConf() const { return portConf_ ? portConf_->hwnd() : nullptr; }
  HWND forceUpdate() const { return forceUpdate_ ? forceUpdate_->hwnd() : nullptr; }

 private:
  void mirrorMain();
  void mirrorPortConf();
  void mirrorForceUpdate();
  void wire(FormWindow& w);
  void clickMain(std::string_view name);
  void clickPortConf(std::string_view name, int code);
  void clickForceUpdate(std::string_view name, int code);

  WindowLoop& loop_;
  WindowPlatform& platform_;
  FormWindow main_;
  std::unique_ptr<FormWindow> portConf_;
  std::unique_ptr<FormWindow> forceUpdate_;
  bool quitting_ = false;
  std::chrono::steady_clock::time_point lastPaint_{};
};

}  // namespace vq::win32ui
