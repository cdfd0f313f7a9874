// The Qt platform: event processing, message boxes, the file dialog and the cursor, with the
// front end's windows mirrored whenever events are processed.
#pragma once
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/native/com_port_map.h"

namespace vq::qt {

class QtPlatform : public Platform {
 public:
  explicit QtPlatform(const native::ComPortMap& map);
  ~QtPlatform() override;

  // The window boxes and file dialogs belong to, and how the front end copies its form
  // models into its windows; both unset when the front end goes.
  void setFrontEnd(QWidget* mainWindow, std::function<void()> mirror);

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

  // A scripted answer for the file dialog (the autopilot): the dialog does not open.
  void setFileAnswer(std::optional<std::string> path) { fileAnswer_ = std::move(path); }

  // Copies every form model into its window now.
  void mirrorAll();

 private:
  void mirrorIfDue();

  const native::ComPortMap& map_;
  QWidget* main_ = nullptr;
  std::function<void()> mirror_;
  QElapsedTimer sinceMirror_;
  QElapsedTimer sinceEvents_;
  QTimer idleMirror_;  // model changes made by serial or timer events between yields
  bool busy_ = false;
  std::optional<std::string> fileAnswer_;
};

// Turns the system's "\r\n" line ends into the "\n" Qt displays.
QString displayText(const std::string& text);

}  // namespace vq::qt
