// The real program (Qt serial port, Qt timer, main window offscreen) driven through its event
// procedures against vq-sim: for the tests and the benchmark that skip the operator's clicks.
// Needs no QtTest.
#pragma once
#include <QFile>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/frm_main.h"
#include "base/comm_settings.h"
#include "base/firmware_file.h"
#include "base/state.h"
#include "e2e/modal_operator.h"
#include "e2e/sim_process.h"
#include "ui/program.h"

namespace vq::e2e {

// Starts vq-sim with its controller in boot mode, comparing its flash with a default update
// file; returns that file's bytes, empty on failure (see sim.error()).
inline Bytes startInBootMode(SimProcess& sim, const QStringList& extraArgs = {}) {
  const QString path = sim.makeUpdateFile("update.bin", {});
  QFile f(path);
  if (path.isEmpty() || !f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  if (!sim.start(QStringList{"--position", "W", "--expect-file", path} + extraArgs)) return {};
  return Bytes(data.begin(), data.end());
}

// The program as vq-update starts it, COM1 pinned to the simulator's link.
struct ProgramOnSim {
  native::ComPortMap map;
  std::unique_ptr<ui::Program> program;
  QStringList messages;  // message boxes shown, closed with OK

  explicit ProgramOnSim(const SimProcess& sim) {
    map.pin(1, sim.linkPath().toStdString());
    program = std::make_unique<ui::Program>(map);
    program->start();
  }

  // Runs an event procedure (cmdNext_Click, ...) while message boxes are noted and closed.
  void run(const std::function<void()>& procedure) {
    ModalOperator op;
    op.run(procedure);
    messages << op.messages;
  }

  // Runs step 5 from step 4's screen with the given file and writing rate.
  void runStep5(const Bytes& file, std::uint8_t updateBaud) {
    gFileData = file;
    gFileLength = std::int32_t(file.size());
    gFileValid = true;
    gUpdateBaud = updateBaud;
    gStep = 3;
    run(cmdNext_Click);
  }
};

}  // namespace vq::e2e
