#include "front/installed_program.h"

#include "base/progress.h"

namespace vq::front {

InstalledProgram::InstalledProgram(Platform& platform, native::NativeSerialPort& port, native::CommTimer& timer,
                                   Windows& windows, TraceFile* trace)
    : port_(port), timer_(timer) {
  SerialPort* used = &port;
  if (trace && trace->isOpen()) {
    tracedPort_ = std::make_unique<TracingSerialPort>(port, *trace);
    tracedProgress_ = std::make_unique<TracingProgress>(formProgress(), *trace);
    used = tracedPort_.get();
    installProgress(tracedProgress_.get());
  }
  installPlatform(&platform, used, &timer);
  installWindows(&windows);
}

InstalledProgram::~InstalledProgram() {
  port_.onComm = nullptr;
  timer_.onTick = nullptr;
  installWindows(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
  if (tracedProgress_) installProgress(nullptr);
}

}  // namespace vq::front
