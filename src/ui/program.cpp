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
  platform.mirrorAll();
  window.show();
}

}  // namespace vq::ui
