// Step 5 of the real program (Qt serial port, Qt timer, main window offscreen) against vq-sim
// on a pseudo-terminal: shared by the end-to-end test and the benchmark.
#pragma once
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/frm_main.h"
#include "app/state.h"
#include "config/comm_settings.h"
#include "image/firmware_file.h"
#include "ui/program.h"
#include "update_file.h"

namespace vq::test {

// vq-sim with its controller in boot mode, an update file to compare its flash with, and a
// report read back when it quits.
class SimProcess {
 public:
  explicit SimProcess(const QStringList& extraArgs = {}) {
    file_ = sim::makeUpdateFile();
    filePath_ = dir_.filePath("update.bin");
    reportPath_ = dir_.filePath("report.txt");
    QFile f(filePath_);
    if (f.open(QIODevice::WriteOnly)) f.write(reinterpret_cast<const char*>(file_.data()), qint64(file_.size()));
    f.close();
    QStringList args{"--position", "W", "--report", reportPath_, "--expect-file", filePath_};
    args << extraArgs;
    proc_.start(VQ_SIM_PATH, args);
    if (!proc_.waitForStarted(5000)) return;
    while (!proc_.canReadLine() && proc_.waitForReadyRead(5000)) {
    }
    slave_ = QString::fromUtf8(proc_.readLine()).trimmed();
  }
  ~SimProcess() {
    if (proc_.state() != QProcess::NotRunning) {
      proc_.kill();
      proc_.waitForFinished(2000);
    }
  }

  const QString& slave() const { return slave_; }
  const Bytes& file() const { return file_; }

  // Ends vq-sim and returns its report as key=value pairs (the first of each key).
  std::map<std::string, std::string> quit() {
    proc_.write("quit\n");
    proc_.waitForFinished(10000);
    std::map<std::string, std::string> kv;
    QFile f(reportPath_);
    if (!f.open(QIODevice::ReadOnly)) return kv;
    for (const QByteArray& raw : f.readAll().split('\n')) {
      const std::string line = raw.toStdString();
      if (line.rfind("violation ", 0) == 0) kv["violation." + std::to_string(kv.size())] = line;
      const auto eq = line.find('=');
      if (eq == std::string::npos || line.find(' ') < eq) continue;
      kv.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
    return kv;
  }

 private:
  QTemporaryDir dir_;
  QString filePath_, reportPath_, slave_;
  Bytes file_;
  QProcess proc_;
};

// The program as vq-update starts it, COM1 pinned to the simulator's pseudo-terminal.
struct ProgramOnSim {
  qt::ComPortMap map;
  std::unique_ptr<ui::Program> program;
  QStringList messages;  // message boxes shown, closed with OK

  explicit ProgramOnSim(const QString& slave) {
    map.pin(1, slave);
    program = std::make_unique<ui::Program>(map);
    program->start();
  }

  // Runs step 5 from step 4's screen with the given file and writing rate.
  void runStep5(const Bytes& file, std::uint8_t updateBaud) {
    gFileData = file;
    gFileLength = std::int32_t(file.size());
    gFileValid = true;
    gUpdateBaud = updateBaud;
    gStep = 3;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        messages << box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    closer.start(50);
    cmdNext_Click();
  }
};

}  // namespace vq::test
