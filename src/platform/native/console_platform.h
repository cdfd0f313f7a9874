// The platform of a program without windows (vq-update-cli): its own poll loop for the serial
// port and the timer, the language chosen on the command line or the system's, message boxes
// handed to the front end, and the file dialog answered with the file it was given.
#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "platform/native/com_port_map.h"
#include "platform/native/poll_loop.h"
#include "platform/platform.h"

namespace vq::native {

class ConsolePlatform : public Platform {
 public:
  ConsolePlatform(const ComPortMap& map, PollLoop& loop) : map_(map), loop_(loop) {}

  void doEvents() override;
  void waitEvents() override;
  void sleepMs(int ms) override;
  void messageBox(const std::string& text) override;
  // A terminal asks nothing: its questions are options (--resume).
  bool askYesNo(const std::string&) override { return false; }
  std::string openFileDialog(const std::string& filterDescription, const std::string& pattern) override;
  int systemLangId() override;
  void setBusyCursor(bool) override {}
  int screenWidth() override { return 0; }
  int screenHeight() override { return 0; }
  std::string deviceName(int comPort) override;

  // 1041, 1033, or 0 for the system's language.
  void setLangId(int id) { langId_ = id; }
  void setFileAnswer(std::string path) { fileAnswer_ = std::move(path); }
  // Where message boxes go; with none they are dropped.
  std::function<void(const std::string&)> onMessage;

  // The system's language id: 1041 when the locale of messages is Japanese, 1033 otherwise.
  static int systemLanguage();

 private:
  const ComPortMap& map_;
  PollLoop& loop_;
  std::chrono::steady_clock::time_point lastEvents_{};
  int langId_ = 0;
  std::string fileAnswer_;
};

}  // namespace vq::native
