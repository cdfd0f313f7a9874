#include "ui/program.h"

#include "app/frm_main.h"

namespace vq::ui {

Program::Program(const native::ComPortMap& m, TraceFile* trace)
    : map(m), installed(platform, port, timer, windows, trace) {}

void Program::start() {
  runProcedure(frmMain_Load);
  platform.mirrorAll();
  window.show();
}

}  // namespace vq::ui
