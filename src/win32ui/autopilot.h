// The autopilot in the Win32 window (vq-update --autopilot DIR --file PATH): its decisions
// and report are front::AutopilotPlan's; here are the system's actions: finding the buttons,
// clicking them, closing the message boxes and saving PNGs of the windows.
#pragma once
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>

#include "front/autopilot_plan.h"
#include "platform/native/event_loop.h"
#include "win32ui/program_windows.h"

namespace vq::win32ui {

class Autopilot {
 public:
  Autopilot(WindowLoop& loop, WindowPlatform& platform, ProgramWindows& windows, std::string outDir,
            std::string file);
  ~Autopilot();
  void start();
  int exitCode() const { return plan_.exitCode(); }

 private:
  void tick();
  bool handleMessageBox();
  void click(const char* name);
  void save(HWND w, const std::string& name);
  void stop();
  std::int64_t nowMs() const;

  WindowLoop& loop_;
  WindowPlatform& platform_;
  ProgramWindows& windows_;
  std::string outDir_, file_;
  front::AutopilotPlan plan_;
  std::unique_ptr<front::AutopilotWatchdog> watchdog_;
  std::unique_ptr<native::LoopTimer> tick_;
  std::chrono::steady_clock::time_point started_, stalledSince_;
  bool clickPending_ = false;
};

// Saves a window as it is on the screen as a PNG; false when it could not.
bool saveWindowPng(HWND w, const std::string& path);

}  // namespace vq::win32ui
