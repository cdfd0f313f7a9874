// The application's windows on Qt: the main window, the two dialogs shown from the
// procedures, the repaint a procedure asks for, and quitting.
#pragma once
#include <QElapsedTimer>
#include <QPointer>

#include "platform/app_windows.h"
#include "platform/qt/qt_platform.h"

namespace vq::ui {

class MainWindow;
class PortConfDialog;
class ForceUpdateDialog;

class QtWindows : public Windows {
 public:
  QtWindows(qt::QtPlatform& platform, MainWindow& main);
  ~QtWindows() override;

  void showForceUpdateDialog() override;
  void showPortConfDialog() override;
  void closePortConfDialog() override;
  void refresh() override;
  void quit() override;

  // Copies every form model into its window.
  void mirrorAll();
  bool quitting() const { return quitting_; }

 private:
  qt::QtPlatform& platform_;
  MainWindow& main_;
  QPointer<PortConfDialog> portConf_;
  ForceUpdateDialog* forceUpdate_ = nullptr;
  QElapsedTimer sinceRepaint_;
  bool quitting_ = false;
};

}  // namespace vq::ui
