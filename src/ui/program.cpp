#include "ui/program.h"

#include "app/frm_main.h"

namespace vq::ui {

Program::Program(const qt::ComPortMap& m) : map(m) {
  installPlatform(&platform, &port, &timer);
  platform.setMainWindow(&window);
}

Program::~Program() {
  port.onComm = nullptr;
  timer.onTick = nullptr;
  platform.setMainWindow(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
}

void Program::start() {
  runProcedure(frmMain_Load);
  // frmMain_Load routes the port's and the timer's events; route them here if it did not.
  if (!port.onComm) port.onComm = mscComm_OnComm;
  if (!timer.onTick) timer.onTick = tmrComm_Timer;
  platform.mirrorAll();
  window.show();
}

}  // namespace vq::ui
