// vq-update: the VQ system firmware update tool.
//   vq-update [--com N=PATH]...   pin COM N to a serial device (e.g. --com 1=/dev/ttyUSB0)
//             [--autopilot DIR --file PATH]
//                                 walk the whole update by itself with PATH as the update file,
//                                 saving a PNG of every step in DIR (see ui/autopilot.h)
#include <QApplication>
#include <cstdio>
#include <memory>

#include "ui/autopilot.h"
#include "ui/program.h"

namespace {
const char* kUsage = "usage: vq-update [--com N=PATH]... [--autopilot DIR --file PATH]\n";

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
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("vq-update");

  vq::qt::ComPortMap map;
  QString autopilotDir;
  QString autopilotFile;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    QString value;
    if (takeOption(args, i, "--autopilot", autopilotDir) || takeOption(args, i, "--file", autopilotFile)) continue;
    if (!takeOption(args, i, "--com", value)) {
      std::fprintf(stderr, "unknown argument: %s\n%s", qPrintable(args[i]), kUsage);
      return 2;
    }
    int number = 0;
    QString path;
    if (!vq::qt::parseComPin(value, number, path)) {
      std::fprintf(stderr, "--com expects N=PATH, e.g. --com 1=/dev/ttyUSB0; got \"%s\"\n", qPrintable(value));
      return 2;
    }
    map.pin(number, path);
  }

  if (autopilotDir.isEmpty() != autopilotFile.isEmpty()) {
    std::fprintf(stderr, "--autopilot and --file go together\n%s", kUsage);
    return 2;
  }

  vq::ui::Program program(map);
  std::unique_ptr<vq::ui::Autopilot> autopilot;
  if (!autopilotDir.isEmpty()) autopilot = std::make_unique<vq::ui::Autopilot>(program, autopilotDir, autopilotFile);
  program.start();
  if (!autopilot) return QApplication::exec();
  autopilot->start();
  const int rc = QApplication::exec();
  return rc != 0 ? rc : autopilot->exitCode();
}
