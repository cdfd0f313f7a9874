// The autopilot that walks vq-update by itself for make run: a whole
// update against vq-sim (found next to this program), and the ways it must end on its own
// (a file that is no update file, an instrument that is not there).
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include "base/progress.h"
#include "e2e/sim_process.h"
#include "support/qt_test_app.h"
#include "ui/autopilot.h"
#include "ui/program.h"

using namespace vq;

namespace {

struct Run {
  int exitCode = -1;
  QStringList lines;
  qint64 ms = 0;
  QStringList tagged(const QString& tag) const {
    QStringList out;
    for (const QString& l : lines)
      if (l.startsWith(tag + ": ")) out << l.mid(tag.size() + 2);
    return out;
  }
};

// vq-update's main() in short: the program, the autopilot, the event loop.
Run autopilot(const native::ComPortMap& map, const QString& dir, const QString& file) {
  Run run;
  ui::Program program(map);
  ui::Autopilot pilot(program, dir, file);
  pilot.plan_.print = [&](const std::string& line) { run.lines << QString::fromStdString(line); };
  QElapsedTimer t;
  t.start();
  program.start();
  pilot.start();
  const int rc = QApplication::exec();
  run.exitCode = rc != 0 ? rc : pilot.exitCode();
  run.ms = t.elapsed();
  program.window.hide();
  return run;
}

QString makeUpdateFile(const QString& dir, const QStringList& args) {
  const QString path = dir + "/VQ_1.2.0.bin";
  return e2e::runTool(e2e::makeUpdateFileProgram(), QStringList{"--out", path} + args) ? path : QString();
}

}  // namespace

class AutopilotTest : public QObject {
  Q_OBJECT

 private slots:
  void splitsLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("crlf") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("trailing line end") << "a\r\n" << QStringList{"a"};
    QTest::newRow("empty line kept") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("bare lf") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("lone cr stays") << "a\rb" << QStringList{"a\rb"};
  }
  void splitsLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QStringList got;
    for (const auto& l : splitLines(text.toStdString())) got << QString::fromStdString(l);
    QCOMPARE(got, lines);
  }

  // A file that is no update file: its message, accepted; Next stays off, so it ends at once.
  void endsWhenTheFileIsRefused() {
    QTemporaryDir dir;
    const QString file = makeUpdateFile(dir.path(), {"--magic", "bad"});
    if (file.isEmpty()) QSKIP("vq-make-update-file not built next to this test");
    native::ComPortMap map;
    map.pin(1, (dir.path() + "/no-such-port").toStdString());
    const Run run = autopilot(map, dir.path() + "/png", file);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.tagged("MESSAGE").value(0), QString("The updating file is not correct."));
    QVERIFY(QFileInfo::exists(dir.path() + "/png/message-1-en.png"));
    QVERIFY2(run.ms < 10'000, qPrintable(QString::number(run.ms)));
  }

  // No instrument: every Next fails in step 2; it retries, then gives up instead of looping.
  void givesUpWhenTheInstrumentIsMissing() {
    QTemporaryDir dir;
    const QString file = makeUpdateFile(dir.path(), {"--version", "1.2.0"});
    if (file.isEmpty()) QSKIP("vq-make-update-file not built next to this test");
    native::ComPortMap map;
    map.pin(1, (dir.path() + "/no-such-port").toStdString());
    const Run run = autopilot(map, dir.path() + "/png", file);
    QCOMPARE(run.exitCode, 1);
    // Step 1 at the start and again after each failure but the last, where it gives up.
    QCOMPARE(run.tagged("STEP").count("1. Start"), front::AutopilotPlan::kMaxMessages);
    QCOMPARE(run.tagged("MESSAGE").count("Unable to initiate the communication."), front::AutopilotPlan::kMaxMessages);
    QVERIFY(!run.tagged("STEP").contains("3. Checking the version"));
    QCOMPARE(run.tagged("AUTOPILOT").value(0), QString("giving up after 3 messages"));
  }

  // The whole update against the simulated instrument, as make run does it.
  void walksTheWholeUpdate() {
    e2e::SimProcess sim;
    const QString file = makeUpdateFile(sim.dir(), {"--version", "1.2.0"});
    if (file.isEmpty() || !QFileInfo(e2e::simProgram()).isExecutable()) QSKIP("vq-sim not built next to this test");
    QVERIFY2(sim.start({"--switch", "auto", "--expect-file", file, "--version", "1.1.5"}), qPrintable(sim.error()));

    native::ComPortMap map;
    map.pin(1, sim.linkPath().toStdString());
    const QString png = sim.dir() + "/png";
    const Run run = autopilot(map, png, file);
    QVERIFY2(sim.stop(), qPrintable(sim.error()));

    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.tagged("MESSAGE").isEmpty());
    QCOMPARE(run.tagged("STEP"), (QStringList{"1. Start", "2. Getting parameters", "3. Checking the version",
                                              "4. Preparing firmware update", "5. Firmware update",
                                              "6. Preparing parameter update", "7. Parameter update", "8. Quit"}));
    QVERIFY(run.tagged("PROGRESS").contains("Verifying completed"));
    QCOMPARE(run.tagged("AUTOPILOT"), QStringList{"done"});
    for (int n = 1; n <= 8; ++n) QVERIFY(QFileInfo::exists(png + QString("/step%1-en.png").arg(n)));
    QVERIFY(QFileInfo::exists(png + "/step5-mid-en.png"));

    QFile r(sim.reportPath());
    QVERIFY(r.open(QIODevice::ReadOnly));
    const QByteArray text = r.readAll();
    QVERIFY(text.contains("\nflash_matches_update_file=yes\n"));
    QVERIFY(text.contains("\nviolations=0\n"));
  }
};

int main(int argc, char** argv) {
  // The checks read the English texts.
  vq::test::QtTestApp app(argc, argv);
  AutopilotTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "autopilot_test.moc"
