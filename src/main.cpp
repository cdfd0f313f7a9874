// vq-update: the VQ system firmware update tool.
//   vq-update [--com N=PATH]...   pin COM N to a serial device (e.g. --com 1=/dev/ttyUSB0)
//             [--trace FILE]      every byte and line change on the port into FILE
//                                 (platform/trace/serial_trace.h)
//             [--autopilot DIR --file PATH]
//                                 walk the whole update by itself with PATH as the update file,
//                                 saving a PNG of every step in DIR (see ui/autopilot.h)
//   vq-update [--com N=PATH]... --check-port [COMn|PATH]
//                                 what stands between this user and the port (every serial
//                                 device when none is given); exit status 0 when usable
//   vq-update --version
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/update_attempt.h"
#include "app/update_journal_steps.h"
#include "base/forms.h"
#include "base/image_state.h"
#include "base/progress.h"
#include "base/texts.h"
#include "platform/native/port_check.h"
#include "platform/native/journal_files.h"
#include "platform/native/update_log.h"
#include "platform/trace/serial_trace.h"
#include "ui/autopilot.h"
#include "ui/program.h"

namespace {
const char* kUsage =
    "usage: vq-update [--com N=PATH]... [--trace FILE] [--autopilot DIR --file PATH]\n"
    "       vq-update [--com N=PATH]... --check-port [COMn|PATH]\n"
    "       vq-update --version\n";
constexpr vq::Text kRecordFailed{"更新記録を書き込めませんでした：", "The update record could not be written: "};

// "--name value" or "--name=value"; advances i past the value.
bool takeOption(const QStringList& args, qsizetype& i, const QString& name, QString& value) {
  if (args[i] == name && i + 1 < args.size()) {
    value = args[++i];
    return true;
  }
  if (args[i].startsWith(name + "=")) {
    value = args[i].mid(name.size() + 1);
    return true;
  }
  return false;
}

// --check-port: needs no display, so it runs before the window's application exists.
int checkPorts(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  vq::native::ComPortMap map;
  QString which;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    QString value;
    if (args[i] == "--check-port") {
      if (i + 1 < args.size() && !args[i + 1].startsWith("--")) which = args[++i];
    } else if (takeOption(args, i, "--com", value)) {
      int number = 0;
      std::string path;
      if (!vq::native::parseComPin(value.toStdString(), number, path)) return 2;
      map.pin(number, path);
    } else {
      std::fprintf(stderr, "unknown argument: %s\n%s", qPrintable(args[i]), kUsage);
      return 2;
    }
  }
  return vq::native::fncCheckPorts(map, which.toStdString(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("vq-update %s\n", VQ_VERSION);
      return 0;
    }
    if (std::strcmp(argv[i], "--check-port") == 0) return checkPorts(argc, argv);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("vq-update");

  vq::native::ComPortMap map;
  QString autopilotDir;
  QString autopilotFile;
  QString tracePath;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    QString value;
    if (takeOption(args, i, "--autopilot", autopilotDir) || takeOption(args, i, "--file", autopilotFile) ||
        takeOption(args, i, "--trace", tracePath))
      continue;
    if (!takeOption(args, i, "--com", value)) {
      std::fprintf(stderr, "unknown argument: %s\n%s", qPrintable(args[i]), kUsage);
      return 2;
    }
    int number = 0;
    std::string path;
    if (!vq::native::parseComPin(value.toStdString(), number, path)) {
      std::fprintf(stderr, "--com expects N=PATH, e.g. --com 1=/dev/ttyUSB0; got \"%s\"\n", qPrintable(value));
      return 2;
    }
    map.pin(number, path);
  }

  if (autopilotDir.isEmpty() != autopilotFile.isEmpty()) {
    std::fprintf(stderr, "--autopilot and --file go together\n%s", kUsage);
    return 2;
  }

  vq::TraceFile trace;
  if (!tracePath.isEmpty()) {
    std::string why;
    if (!trace.open(tracePath.toStdString(), "vq-update " VQ_VERSION, why)) {
      std::fprintf(stderr, "vq-update: cannot write the trace: %s\n", why.c_str());
      return 2;
    }
  }

  vq::ui::Program program(map, trace.isOpen() ? &trace : nullptr);
  // One line per attempted update; a record that cannot be written is said below the progress
  // lines and on stderr, and the update goes on.
  vq::native::UpdateLog updateLog(program.map, "vq-update " VQ_VERSION);
  updateLog.onError = [](const std::string& why) {
    const std::string text = vq::pick(kRecordFailed) + why;
    std::fprintf(stderr, "vq-update: %s\n", text.c_str());
    vq::subShowBelowProgress(text);
  };
  vq::installUpdateRecordSink(&updateLog);
  vq::native::JournalFiles journal(program.map);
  vq::installJournalStore(&journal);
  struct SinkOff {
    ~SinkOff() {
      vq::installUpdateRecordSink(nullptr);
      vq::installJournalStore(nullptr);
    }
  } sinkOff;
  std::unique_ptr<vq::ui::Autopilot> autopilot;
  if (!autopilotDir.isEmpty()) autopilot = std::make_unique<vq::ui::Autopilot>(program, autopilotDir, autopilotFile);
  program.start();
  if (autopilot) autopilot->start();
  // The instruments left half-updated are listed once the window is up. The autopilot walks a
  // fresh update of its own simulator.
  else QTimer::singleShot(0, [] { vq::ui::runProcedure(vq::subListUnfinished); });
  const int rc = QApplication::exec();
  // Closed between steps 2 and 7: that attempt ends as stopped.
  vq::noteUpdateStopped();
  if (!autopilot) return rc;
  return rc != 0 ? rc : autopilot->exitCode();
}
