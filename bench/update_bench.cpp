// How close the whole update (steps 2 to 7) comes to the speed of the line: the real program,
// in-process and offscreen, against vq-sim with line pacing (each byte takes its time at the
// rate the port is set to), at the writing rates 38400 and 153600. The line-limited time is
// every frame the simulator saw or sent, at the settings it travelled with (bits per character
// from those settings: 11 for 307200,O,8,1, 10 for the boot rates).
//   update_bench [--rates 3,5] [--real-device-delays]
// The device's own delays (erase, programming, parameter reset) are short by default so the
// ratio shows the program's overhead; --real-device-delays keeps vq-sim's defaults.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <cstdio>
#include <memory>

#include "base/comm_settings.h"
#include "base/state.h"
#include "e2e/modal_operator.h"
#include "e2e/protocol_limit.h"
#include "e2e/sim_process.h"
#include "platform/line_settings.h"
#include "support/qt_test_app.h"
#include "ui/program.h"

using namespace vq;
using namespace vq::e2e;

namespace {

const char* kRateTexts[] = {"9600", "19200", "31250", "38400", "76800", "153600"};
constexpr int kLinkBatches = 3;  // step 2's read, step 7's initialise and write-back

class Bench {
 public:
  explicit Bench(bool realDelays) : realDelays_(realDelays) {}

  // One whole update at writing rate index rate; false with a message when it did not succeed.
  bool run(int rate) {
    SimProcess sim;
    const QString file = sim.makeUpdateFile("new.bin", {"--version", "1.2.0", "--seed", "5"});
    QStringList args{"--switch", "manual", "--pace", "--expect-file", file};
    if (!realDelays_)
      args << QStringList{"--init-ms", "50", "--erase-ms", "50", "--program-ms", "1", "--completion-ms", "5",
                          "--security-ms", "5,10"};
    if (file.isEmpty() || !sim.start(args)) return fail(sim.error());

    native::ComPortMap map;
    map.pin(1, sim.linkPath().toStdString());
    auto program = std::make_unique<ui::Program>(map);
    program->start();
    window_ = &program->window;

    ModalOperator chooser;
    chooser.fileAnswer = file;
    chooser.run([this] { button("cmdFWFileSel")->click(); });
    if (!chooser.messages.isEmpty()) return fail(chooser.messages.join('\n'));
    gUpdateBaud = std::uint8_t(rate);

    qint64 ms[8] = {};
    QString failure;
    for (int step = 2; step <= 7 && failure.isEmpty(); ++step) {
      if (step == 5 && !(sim.ok("switch W") && sim.ok("power"))) return fail("switch W: " + sim.error());
      if (step == 7 && !(sim.ok("switch -") && sim.ok("power"))) return fail("switch -: " + sim.error());
      ModalOperator op;
      QElapsedTimer t;
      t.start();
      op.run([this] { button("cmdNext")->click(); });
      ms[step] = t.elapsed();
      if (!op.messages.isEmpty()) failure = QString("step %1 failed: %2").arg(step).arg(firstLine(op.messages[0]));
      else if (gStep != step - 1) failure = QString("step %1 did not complete").arg(step);
    }
    program.reset();

    const SimReport r = sim.report();
    if (failure.isEmpty() && r["flash_matches_update_file"] != "yes") failure = "the flash does not equal the update file";
    const ProtocolLimit lim = protocolLimit(r, kLinkBatches);
    qint64 wall = 0;
    for (int s = 2; s <= 7; ++s) wall += ms[s];
    const double lineS = (lim.linkLineUs + lim.bootLineUs) / 1e6;
    const double limitS = (lim.linkUs() + lim.bootUs()) / 1e6;
    std::printf("writing rate %s (gUpdateBaud %d), paced line, %s device delays\n", kRateTexts[rate], rate,
                realDelays_ ? "real" : "short");
    std::printf("  wall    step 2 %7.3f s   step 5 %7.3f s   step 7 %7.3f s   steps 2-7 %7.3f s\n", ms[2] / 1e3,
                ms[5] / 1e3, ms[7] / 1e3, wall / 1e3);
    std::printf("  line    link %lld bytes %7.3f s   boot %lld bytes %7.3f s   total %7.3f s\n", lim.linkBytes,
                lim.linkLineUs / 1e6, lim.bootBytes, lim.bootLineUs / 1e6, lineS);
    std::printf("  limit   link %7.3f s (device %.3f, ticks %.3f)   boot %7.3f s (device %.3f, pauses %.3f)   total %7.3f s\n",
                lim.linkUs() / 1e6, lim.linkDeviceUs / 1e6, lim.linkPauseUs / 1e6, lim.bootUs() / 1e6,
                lim.bootDeviceUs / 1e6, lim.bootPauseUs / 1e6, limitS);
    if (lim.bootLineUs > 0)
      std::printf("  ratio   step 5 wall / line-limited = %.3f, protocol limit / step 5 wall = %.3f\n",
                  ms[5] / 1e3 / (lim.bootLineUs / 1e6), lim.bootUs() / 1e3 / double(ms[5]));
    if (failure.isEmpty())
      std::printf("  ratio   steps 2-7 wall / line-limited = %.3f, protocol limit / wall = %.3f\n", wall / 1e3 / lineS,
                  limitS * 1e3 / double(wall));
    std::printf("  violations=%s\n", qPrintable(r["violations"]));
    std::fflush(stdout);
    if (!failure.isEmpty()) {
      QFile keep(QDir::temp().filePath(QString("update_bench_%1.report").arg(kRateTexts[rate])));
      if (keep.open(QIODevice::WriteOnly)) keep.write(r.lines.join('\n').toUtf8());
      return fail(failure + " (the simulator's report: " + keep.fileName() + ")");
    }
    return true;
  }

 private:
  QPushButton* button(const char* name) { return window_->findChild<QPushButton*>(name); }
  static QString firstLine(const QString& s) { return s.section('\n', 0, 0); }
  bool fail(const QString& why) {
    std::fprintf(stderr, "update_bench: %s\n", qPrintable(why));
    return false;
  }

  bool realDelays_;
  QWidget* window_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  test::QtTestApp app(argc, argv);

  QList<int> rates{3, 5};
  bool realDelays = false;
  const QStringList args = QApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == "--real-device-delays") {
      realDelays = true;
    } else if (args[i] == "--rates" && i + 1 < args.size()) {
      rates.clear();
      for (const QString& r : args[++i].split(',')) rates << r.toInt();
    } else {
      std::fprintf(stderr, "usage: update_bench [--rates 3,5] [--real-device-delays]\n");
      return 2;
    }
  }
  Bench bench(realDelays);
  bool allDone = true;
  for (int rate : rates) {
    if (rate < 0 || rate > 5) return 2;
    allDone = bench.run(rate) && allDone;
  }
  return allDone ? 0 : 1;
}
