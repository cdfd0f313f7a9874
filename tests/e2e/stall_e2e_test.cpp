// A stalled computer against a live instrument: the program is stopped (SIGSTOP) for 150 to
// 400 ms, then continued, again and again while it writes and verifies the blocks of step 5 (it
// spends nearly all that time waiting for a block's status, so each stop falls right after a
// block went out), past the 318 ms bound of a write block and the 100 ms of a verify block.
// The controller answers meanwhile; when the program runs again its expired time-out and the
// status are both waiting, and the update must still complete. Label e2e-stall: the stops are
// timed in real time, and a machine too loaded to run vq-sim on time shows as the simulator's
// late replies in the failure message.
#include <signal.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>
#include <random>

#include "e2e/sim_process.h"

using namespace vq::e2e;

namespace {

const QStringList kFastDevice{"--init-ms", "50", "--erase-ms", "50", "--completion-ms", "5", "--security-ms", "5,10"};

}  // namespace

class StallE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void stoppedWhileFlashing_data() {
    QTest::addColumn<bool>("window");
    QTest::newRow("vq-update-cli") << false;
    QTest::newRow("vq-update, autopilot offscreen") << true;
  }

  void stoppedWhileFlashing() {
    QFETCH(bool, window);
    SimProcess sim;
    const QString file = sim.makeUpdateFile("new.bin", {"--version", "1.2.0"});
    QVERIFY2(!file.isEmpty(), qPrintable(sim.error()));
    QVERIFY2(sim.start(QStringList{"--switch", "auto", "--expect-file", file, "--program-ms", "4"} + kFastDevice),
             qPrintable(sim.error()));
    QProcess prog;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", sim.dir() + "/state");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LANG", "en_US.UTF-8");
    env.insert("LC_ALL", "en_US.UTF-8");
    prog.setProcessEnvironment(env);
    prog.setProcessChannelMode(QProcess::MergedChannels);
    if (window) {
      prog.start(QStringLiteral(VQ_UPDATE_PATH),
                 {"--com", "1=" + sim.linkPath(), "--autopilot", sim.dir() + "/shots", "--file", file});
    } else {
      prog.start(QStringLiteral(VQ_UPDATE_CLI_PATH), {"--port", sim.linkPath(), "--file", file, "--switch-ready",
                                                      "--lang", "en", "--writing-rate", "153600"});
    }
    QVERIFY2(prog.waitForStarted(10000), qPrintable(prog.errorString()));

    // From the first block on, stop and continue it until it ends.
    std::mt19937 rng(28);
    QByteArray out;
    int stops = 0;
    QElapsedTimer t;
    t.start();
    bool flashing = false;
    while (prog.state() != QProcess::NotRunning && t.elapsed() < 240000) {
      prog.waitForReadyRead(flashing ? 150 + int(rng() % 250) : 100);
      out += prog.readAll();
      if (!flashing) {
        flashing = out.contains("Now writing new firmware");
        continue;
      }
      if (out.contains("Verifying completed") || prog.state() != QProcess::Running) continue;
      ::kill(pid_t(prog.processId()), SIGSTOP);
      ::usleep(150'000 + rng() % 250'000);
      ::kill(pid_t(prog.processId()), SIGCONT);
      ++stops;
    }
    QVERIFY2(prog.state() == QProcess::NotRunning || prog.waitForFinished(10000), "the program did not end");
    out += prog.readAll();
    const SimReport r = sim.report();
    const QString context = QString("\n%1 stops; simulator late replies %2 (worst %3 us)\n")
                                .arg(stops)
                                .arg(r["late_replies"], r["worst_late_us"]) +
                            QString::fromUtf8(out.right(3000));
    qInfo("%d stops of 150 to 400 ms while flashing; simulator late replies %s (worst %s us)", stops,
          qPrintable(r["late_replies"]), qPrintable(r["worst_late_us"]));
    QVERIFY2(stops >= 5, qPrintable("too few stops while flashing" + context));
    QVERIFY2(prog.exitStatus() == QProcess::NormalExit && prog.exitCode() == 0, qPrintable("the update failed" + context));
    QCOMPARE(r["flash_matches_update_file"], QString("yes"));
  }
};

QTEST_GUILESS_MAIN(StallE2eTest)
#include "stall_e2e_test.moc"
