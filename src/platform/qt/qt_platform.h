// The Qt platform: event processing, message boxes, the file dialog, the cursor and the
// dialogs, with the form models mirrored into the windows whenever events are processed.
#pragma once
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/qt/com_port_map.h"

namespace vq::ui {
class MainWindow;
class PortConfDialog;
class ForceUpdateDialog;
}  // namespace vq::ui

namespace vq::qt {

class QtPlatform : public Platform {
 public:
  explicit QtPlatform(const ComPortMap& map);
  ~QtPlatform() override;

  // The main window the models are mirrored into; dialogs are its children.
  void setMainWindow(ui::MainWindow* w) { main_ = w; }

  void doEvents() override;
  void waitEvents() override;
  void sleepMs(int ms) override;
  void refresh() override;

  void messageBox(const std::string& text) override;
  std::string openFileDialog(const std::string& filterDescription, const std::string& pattern) override;
  int systemLangId() override;
  void setBusyCursor(bool busy) override;
  int screenWidth() override;
  int screenHeight() override;
  std::string deviceName(int comPort) override;
  void showForceUpdateDialog() override;
  void showPortConfDialog() override;
  void closePortConfDialog() override;
  void quit() override;

  // A scripted answer for the file dialog (the autopilot): the dialog does not open.
  void setFileAnswer(std::optional<std::string> path) { fileAnswer_ = std::move(path); }

  // Copies every form model into its window now.
  void mirrorAll();
  bool quitting() const { return quitting_; }

 private:
  void mirrorIfDue();

  const ComPortMap& map_;
  ui::MainWindow* main_ = nullptr;
  QPointer<ui::PortConfDialog> portConf_;
  ui::ForceUpdateDialog* forceUpdate_ = nullptr;
  QElapsedTimer sinceMirror_;
  QElapsedTimer sinceEvents_;
  QElapsedTimer sinceRepaint_;
  QTimer idleMirror_;  // model changes made by serial or timer events between yields
  bool busy_ = false;
  bool quitting_ = false;
  std::optional<std::string> fileAnswer_;
};

// Turns the system's "\r\n" line ends into the "\n" Qt displays.
QString displayText(const std::string& text);

}  // namespace vq::qt
