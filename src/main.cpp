// vq-update: the VQ system firmware update tool.
//   vq-update [--com N=PATH]...   pin COM N to a serial device (e.g. --com 1=/dev/ttyUSB0)
#include <QApplication>
#include <cstdio>

#include "ui/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("vq-update");

  vq::qt::ComPortMap map;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    QString value;
    if (args[i] == "--com" && i + 1 < args.size()) value = args[++i];
    else if (args[i].startsWith("--com=")) value = args[i].mid(6);
    else {
      std::fprintf(stderr, "unknown argument: %s\nusage: vq-update [--com N=PATH]...\n", qPrintable(args[i]));
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

  vq::ui::Program program(map);
  program.start();
  return QApplication::exec();
}
