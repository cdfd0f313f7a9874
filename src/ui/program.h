// The running program: COM map, serial port, timer, platform and the windows, wired the way
// vq-update starts. The widget tests start the same thing.
#pragma once
#include <memory>

#include "platform/qt/com_port_map.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_timer.h"
#include "platform/trace/serial_trace.h"
#include "ui/main_window.h"
#include "ui/qt_windows.h"

namespace vq::ui {

class Program {
 public:
  // With a trace, the port and the progress go through it (vq-update --trace FILE).
  explicit Program(const qt::ComPortMap& map, TraceFile* trace = nullptr);
  ~Program();
  // Installs the platform, loads frmMain and shows the window.
  void start();

  qt::ComPortMap map;
  qt::QtSerialPort port{map};
  qt::QtTimer timer;
  qt::QtPlatform platform{map};
  MainWindow window{platform};
  QtWindows windows{platform, window};
  std::unique_ptr<TracingSerialPort> tracedPort;
  std::unique_ptr<TracingProgress> tracedProgress;
};

}  // namespace vq::ui
