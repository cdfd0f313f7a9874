// A window program's parts handed to the core: its platform, port, tmrComm and windows, the
// port and the progress box going through the trace when there is one (--trace FILE). All
// are taken back, the port's and the timer's callbacks first, when it goes.
#pragma once
#include <memory>

#include "platform/app_windows.h"
#include "platform/native/comm_timer.h"
#include "platform/native/serial_port.h"
#include "platform/platform.h"
#include "platform/trace/serial_trace.h"

namespace vq::front {

class InstalledProgram {
 public:
  InstalledProgram(Platform& platform, native::NativeSerialPort& port, native::CommTimer& timer, Windows& windows,
                   TraceFile* trace);
  ~InstalledProgram();
  InstalledProgram(const InstalledProgram&) = delete;
  InstalledProgram& operator=(const InstalledProgram&) = delete;

 private:
  native::NativeSerialPort& port_;
  native::CommTimer& timer_;
  std::unique_ptr<TracingSerialPort> tracedPort_;
  std::unique_ptr<TracingProgress> tracedProgress_;
};

}  // namespace vq::front
