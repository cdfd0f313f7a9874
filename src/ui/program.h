// The running program: COM map, serial port, timer, platform and the windows, wired the way
// vq-update starts. The widget tests start the same thing.
#pragma once
#include "platform/qt/com_port_map.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_timer.h"
#include "ui/main_window.h"
#include "ui/qt_windows.h"

namespace vq::ui {

class Program {
 public:
  explicit Program(const qt::ComPortMap& map);
  ~Program();
  // Installs the platform, loads frmMain and shows the window.
  void start();

  qt::ComPortMap map;
  qt::QtSerialPort port{map};
  qt::QtTimer timer;
  qt::QtPlatform platform{map};
  MainWindow window{platform};
  QtWindows windows{platform, window};
};

}  // namespace vq::ui
