// vq-update: the VQ system firmware update tool, its Qt window. The command line and the
// program's life around the window are front::WindowSession's (front/window_program.h).
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "front/window_program.h"
#include "ui/autopilot.h"
#include "ui/program.h"

namespace {

constexpr const char* kProgram = "vq-update " VQ_VERSION;

int refused(const std::string& why) {
  std::fprintf(stderr, "%s\n%s", why.c_str(), vq::front::kWindowUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  vq::front::WindowOptions options;
  // --version and --check-port need no display: read before the window's application exists.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") != 0 && std::strcmp(argv[i], "--check-port") != 0) continue;
    if (const auto why = vq::front::parseWindowOptions(std::vector<std::string>(argv + 1, argv + argc), options))
      return refused(*why);
    if (options.version) {
      std::printf("%s\n", kProgram);
      return 0;
    }
    return vq::front::runCheckPort(options);
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName("vq-update");
  std::vector<std::string> args;
  for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());
  if (const auto why = vq::front::parseWindowOptions(args, options)) return refused(*why);

  vq::TraceFile trace;
  if (std::string why; !vq::front::openTrace(trace, options, kProgram, why)) {
    std::fprintf(stderr, "vq-update: cannot write the trace: %s\n", why.c_str());
    return 2;
  }

  vq::ui::Program program(options.map, trace.isOpen() ? &trace : nullptr);
  vq::front::WindowSession session(program.map, kProgram);
  std::unique_ptr<vq::ui::Autopilot> autopilot;
  if (!options.autopilotDir.empty())
    autopilot = std::make_unique<vq::ui::Autopilot>(program, QString::fromStdString(options.autopilotDir),
                                                    QString::fromStdString(options.autopilotFile));
  program.start();
  if (autopilot) autopilot->start();
  QTimer::singleShot(0, [&] { session.windowShown(autopilot != nullptr); });
  const int rc = QApplication::exec();
  session.windowClosed();
  if (!autopilot) return rc;
  return rc != 0 ? rc : autopilot->exitCode();
}
