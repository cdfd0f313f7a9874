#include "ui/program.h"

#include "app/frm_main.h"
#include "base/progress.h"

namespace vq::ui {

Program::Program(const native::ComPortMap& m, TraceFile* trace) : map(m) {
  SerialPort* used = &port;
  if (trace) {
    tracedPort = std::make_unique<TracingSerialPort>(port, *trace);
    tracedProgress = std::make_unique<TracingProgress>(formProgress(), *trace);
    used = tracedPort.get();
    installProgress(tracedProgress.get());
  }
  installPlatform(&platform, used, &timer);
  installWindows(&windows);
}

Program::~Program() {
  port.onComm = nullptr;
  timer.onTick = nullptr;
  installWindows(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
  if (tracedProgress) installProgress(nullptr);
}

void Program::start() {
  runProcedure(frmMain_Load);
  platform.mirrorAll();
  window.show();
}

}  // namespace vq::ui
