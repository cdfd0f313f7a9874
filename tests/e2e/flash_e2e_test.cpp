// vq-update's step 5 over the real Qt serial port against vq-sim on a pseudo-terminal: the
// controller ends with the image in its flash, saw nothing it would refuse, and switched rates.
#include <QTest>

#include "base/boot_state.h"
#include "e2e/program_on_sim.h"

using namespace vq;
using namespace vq::e2e;

class FlashE2e : public QObject {
  Q_OBJECT

 private slots:
  void step5WritesAndVerifiesTheImage_data() {
    QTest::addColumn<int>("updateBaud");
    QTest::addColumn<QString>("bootBaud");
    QTest::addColumn<QStringList>("simArgs");
    QTest::newRow("38400") << 3 << "38400" << QStringList{};
    // Statuses that follow one another without a gap arrive in one read on a pty.
    QTest::newRow("153600, statuses back to back")
        << 5 << "153600" << QStringList{"--fault", "wdata#512:join", "--fault", "sdata:join"};
  }

  void step5WritesAndVerifiesTheImage() {
    QFETCH(int, updateBaud);
    QFETCH(QString, bootBaud);
    QFETCH(QStringList, simArgs);
    SimProcess sim;
    const Bytes file = startInBootMode(sim, simArgs);
    QVERIFY2(!file.empty(), qPrintable(sim.error()));
    {
      ProgramOnSim prog(sim);
      prog.runStep5(file, std::uint8_t(updateBaud));
      QVERIFY2(prog.messages.isEmpty(), qPrintable(prog.messages.join("\n")));
      QCOMPARE(int(gErrCode), 0);
      QCOMPARE(int(gFlashResult), 0);
      QCOMPARE(int(gStep), 4);
    }
    QVERIFY2(sim.stop(), qPrintable(sim.error()));
    const SimReport report = sim.readReport();
    for (const QString& v : report.linesStarting("violation ")) qWarning("%s", qPrintable(v));
    QCOMPARE(report["violations"], QString("0"));
    QCOMPARE(report["flash_matches_update_file"], QString("yes"));
    QCOMPARE(report["boot_baud"], bootBaud);
  }
};

QTEST_MAIN(FlashE2e)
#include "flash_e2e_test.moc"
