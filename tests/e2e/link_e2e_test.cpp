// Steps 2 and 7 of vq-update's core over the real Qt serial port against vq-sim on a
// pseudo-terminal at the link settings: the identity and the command-4 value read in step 2 are
// in the simulator again after step 7, and it saw nothing a real instrument would refuse.
#include <QTest>

#include "base/param_store.h"
#include "e2e/program_on_sim.h"

using namespace vq;
using namespace vq::e2e;

class LinkE2e : public QObject {
  Q_OBJECT

  SimProcess sim_;

 private slots:
  void initTestCase() {
    QVERIFY2(sim_.start({"--model", "VQA-7000", "--serial", " 27182", "--cmd04", "42,0", "--init-ms", "300"}),
             qPrintable(sim_.error()));
  }

  void cleanupTestCase() { sim_.stop(); }

  void identityReadInStepTwoIsBackAfterStepSeven() {
    ProgramOnSim prog(sim_);

    prog.run(cmdNext_Click);  // step 2
    QVERIFY2(prog.messages.isEmpty(), qPrintable(prog.messages.join(" | ")));
    QCOMPARE(int(gStep), 1);
    QCOMPARE(QString::fromStdString(gModelName), QString("VQA-7000"));
    QCOMPARE(QString::fromStdString(gSerialNo), QString(" 27182"));
    QCOMPARE(int(gCmd04Value), 42);

    gStep = 5;  // step 6 on screen: the firmware steps are not this test's business
    prog.run(cmdNext_Click);  // step 7
    QVERIFY2(prog.messages.isEmpty(), qPrintable(prog.messages.join(" | ")));
    QCOMPARE(int(gStep), 6);
    prog.program.reset();

    QVERIFY2(sim_.stop(), qPrintable(sim_.error()));
    const SimReport report = sim_.readReport();
    QVERIFY2(!report.facts.isEmpty(), "no report from vq-sim");
    QCOMPARE(report["model"], QString("VQA-7000"));
    QCOMPARE(report["serial"], QString(" 27182"));
    QCOMPARE(report["cmd04"], QString("42"));
    QCOMPARE(report["pc_mode"], QString("0"));
    QCOMPARE(report["violations"], QString("0"));
    QVERIFY(report["frames_in"].toInt() >= 14);  // 7 requests in step 2, 7 in step 7
  }
};

QTEST_MAIN(LinkE2e)
#include "link_e2e_test.moc"
