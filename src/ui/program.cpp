#include "ui/program.h"

#include "app/frm_main.h"

namespace vq::ui {

Program::Program(const qt::ComPortMap& m) : map(m) {
  installPlatform(&platform, &port, &timer);
  installWindows(&windows);
}

Program::~Program() {
  port.onComm = nullptr;
  timer.onTick = nullptr;
  installWindows(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
}

void Program::start() {
  runProcedure(frmMain_Load);
  platform.mirrorAll();
  window.show();
}

}  // namespace vq::ui
