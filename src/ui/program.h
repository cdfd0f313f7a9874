// The running program: COM map, serial port, timer, platform and the windows, wired the way
// vq-update starts. The widget tests start the same thing.
#pragma once
#include "front/installed_program.h"
#include "platform/native/com_port_map.h"
#include "platform/native/comm_timer.h"
#include "platform/native/serial_port.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_platform.h"
#include "ui/main_window.h"
#include "ui/qt_windows.h"

namespace vq::ui {

class Program {
 public:
  // With a trace, the port and the progress go through it (vq-update --trace FILE).
  explicit Program(const native::ComPortMap& map, TraceFile* trace = nullptr);
  // Installs the platform, loads frmMain and shows the window.
  void start();

  native::ComPortMap map;
  qt::QtEventLoop loop;
  native::NativeSerialPort port{map, loop};
  native::CommTimer timer{loop};
  qt::QtPlatform platform{map};
  MainWindow window{platform};
  QtWindows windows{platform, window};
  front::InstalledProgram installed;
};

}  // namespace vq::ui
