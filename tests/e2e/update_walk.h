// One update walked through the real window against vq-sim, in pieces the tests put together:
// a rig (simulator, update files, program), the steps as the operator takes them, and the
// checks on the simulator's report afterwards. The checks use QVERIFY, so each piece is a void
// function; WALK() stops the calling test at the first failed piece.
#pragma once
#include <QTest>
#include <memory>

#include "base/param_store.h"
#include "base/state.h"
#include "e2e/sim_process.h"
#include "e2e/wizard_operator.h"

#define WALK(call)                               \
  do {                                           \
    call;                                        \
    if (QTest::currentTestFailed()) return;      \
  } while (0)

namespace vq::e2e {

// The instrument before the update: its identity and the firmware already in its flash.
struct Instrument {
  QString model = "VQA-7001";
  QString serial = " 13579";
  int cmd04 = 9;
  QString oldVersion = "1.0.3";  // in the flash at the start
  QString newVersion = "1.2.0";  // in the update file
};

// Short device delays so a whole update takes seconds; the protocol's own time-outs stay.
inline QStringList fastDevice() {
  return {"--init-ms", "50", "--erase-ms", "50", "--program-ms", "1", "--completion-ms", "5",
          "--security-ms", "5,10", "--dsr-ms", "20"};
}

// vq-sim as the terminal front end's tables meet it: VQA-7001  13579 with command-4 value 9
// and Ver.1.0.3 in its flash, a fast device, extra; returns new.bin (Ver.1.2.0), the file to
// write, or empty when the simulator did not start (sim.error() says why).
inline QString startInstrument(SimProcess& sim, const QStringList& extra) {
  const QString file = sim.makeUpdateFile("new.bin", {"--version", "1.2.0", "--seed", "3"});
  const QString oldFile = sim.makeUpdateFile("old.bin", {"--version", "1.0.3", "--seed", "11"});
  if (file.isEmpty() || oldFile.isEmpty()) return {};
  const bool started = sim.start(QStringList{"--model", "VQA-7001", "--serial", " 13579", "--cmd04", "9", "--flash",
                                             oldFile, "--expect-file", file} +
                                 fastDevice() + extra);
  return started ? file : QString();
}

struct Texts {
  QString nextOnLastStep, stepFiveDone, stepSevenDone;
};
inline Texts textsFor(bool japanese) {
  if (japanese) return {QString::fromUtf8("終了"), QString::fromUtf8("ベリファイ完了"),
                        QString::fromUtf8("パラメーター書き込み完了")};
  return {"End", "Verifying completed", "Writing parameters completed."};
}

class Rig {
 public:
  Instrument inst;
  SimProcess sim;
  QString updateFile;
  std::unique_ptr<Operator> op;
  QString startSha;  // the flash before anything was written

  // Makes the update files, starts vq-sim (manual switch, in normal mode) and the program, and
  // chooses the update file in step 1.
  void start(const QStringList& simExtra = fastDevice()) {
    updateFile = sim.makeUpdateFile("new.bin", {"--version", inst.newVersion, "--seed", "3"});
    const QString oldFile = sim.makeUpdateFile("old.bin", {"--version", inst.oldVersion, "--seed", "11"});
    QVERIFY2(!updateFile.isEmpty() && !oldFile.isEmpty(), qPrintable(sim.error()));
    QVERIFY2(sim.start(QStringList{"--switch", "manual", "--model", inst.model, "--serial", inst.serial, "--cmd04",
                                   QString::number(inst.cmd04), "--flash", oldFile, "--expect-file", updateFile} +
                       simExtra),
             qPrintable(sim.error()));
    const SimReport before = sim.report();
    QCOMPARE(before["flash_matches_update_file"], QString("no"));
    startSha = before["flash_sha256"];
    QVERIFY(!startSha.isEmpty());

    WALK(openProgram());
  }

  // Starts the program afresh (ending the one running) and chooses the update file in step 1.
  void openProgram() {
    op.reset();
    op = std::make_unique<Operator>(sim);
    QVERIFY(QTest::qWaitForWindowExposed(op->window()));
    QCOMPARE(op->boldStep(), 1);
    bool clicked = false;
    const QStringList shown = op->chooseFile(updateFile, &clicked);
    QVERIFY(clicked);
    QCOMPARE(shown, QStringList());
    QCOMPARE(op->label("lblFWNew"), "Ver." + inst.newVersion);
  }

  // Next, expecting the step to succeed with no message.
  void nextTo(int step) {
    bool clicked = false;
    const QStringList shown = op->next(&clicked);
    QVERIFY2(clicked, qPrintable(QString("Next not clickable before step %1").arg(step)));
    QVERIFY2(shown.isEmpty(), qPrintable(QString("step %1 showed: %2").arg(step).arg(shown.join("\n----\n"))));
    QCOMPARE(op->boldStep(), step);
    QCOMPARE(int(gStep), step - 1);
  }

  // Next, expecting the step to fail with the message whose first line is given and the
  // wizard back on the step before.
  void nextFails(int failingStep, const QString& messageFirstLine) {
    bool clicked = false;
    const QStringList shown = op->next(&clicked);
    QVERIFY(clicked);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(firstLine(shown[0]), messageFirstLine);
    QCOMPARE(op->boldStep(), failingStep - 1);
    QCOMPARE(int(gStep), failingStep - 2);
  }

  // Step 2 on its own: the identity read is the simulator's.
  void readParameters() {
    WALK(nextTo(2));
    QCOMPARE(op->buttons(), QString("FCUSN"));
    QCOMPARE(QString::fromStdString(gModelName), inst.model);
    QCOMPARE(QString::fromStdString(gSerialNo), inst.serial);
    QCOMPARE(int(gCmd04Value), inst.cmd04);
  }

  // Steps 3 and 4; then the operator puts the switch to W and restarts the instrument.
  void prepareFirmwareUpdate(const QString& shownOldVersion) {
    WALK(nextTo(3));
    QCOMPARE(op->label("lblFWOld"), "Ver." + shownOldVersion);
    WALK(nextTo(4));
    QVERIFY(op->moveSwitch(true));
  }

  void writeFirmware(const Texts& t) {
    WALK(nextTo(5));
    QCOMPARE(op->buttons(), QString("fcusN"));
    QVERIFY2(op->processText().contains(t.stepFiveDone), qPrintable(op->processText()));
  }

  // Step 6; then the operator puts the switch back and restarts the instrument.
  void prepareParameterUpdate() {
    WALK(nextTo(6));
    QCOMPARE(op->buttons(), QString("fcusN"));
    QVERIFY(op->moveSwitch(false));
  }

  void writeParameters(const Texts& t) {
    WALK(nextTo(7));
    QCOMPARE(op->buttons(), QString("fcuSN"));
    QVERIFY2(op->processText().contains(t.stepSevenDone), qPrintable(op->processText()));
  }

  // Step 8 and the Next that ends the program.
  void finish(const Texts& t) {
    WALK(nextTo(8));
    QCOMPARE(op->button("cmdNext")->text(), t.nextOnLastStep);
    bool clicked = false;
    QCOMPARE(op->next(&clicked), QStringList());
    QVERIFY(clicked);
    QVERIFY(op->program().windows.quitting());
    QTRY_VERIFY(!op->window()->isVisible());
  }

  // The instrument after a successful update: the new firmware, verified, the given identity,
  // and (when strict) nothing on the line the device did not expect.
  void verifyInstrument(const QString& model, const QString& serial, int cmd04, bool strict = true) {
    const SimReport r = sim.report();
    QVERIFY2(!r.lines.isEmpty(), qPrintable(sim.error()));
    QCOMPARE(r["flash_matches_update_file"], QString("yes"));
    QCOMPARE(r["mode"], QString("instrument"));
    QCOMPARE(r["model"], model);
    QCOMPARE(r["serial"], serial);
    QCOMPARE(r["cmd04"], QString::number(cmd04));
    const QStringList v = inst.newVersion.split('.');
    QCOMPARE(r["fw_main"], QString::number(v[0].toInt() * 10 + v[1].toInt()));
    QCOMPARE(r["fw_rev"], v[2]);
    if (strict && r["violations"] != "0") {
      // The temporary folder goes with the test: keep the report where it can be read.
      const QString kept = QDir::temp().filePath(QString("vq-e2e-%1.report").arg(QTest::currentTestFunction()));
      QFile::remove(kept);
      QFile::copy(sim.reportPath(), kept);
      QFAIL(qPrintable(r.linesStarting("violation ").join('\n') + "\nreport: " + kept));
    }
  }

  // Steps 3 to 8 after a good step 2, then the report.
  void completeFromStepTwo(const Texts& t) {
    WALK(prepareFirmwareUpdate(inst.oldVersion));
    WALK(writeFirmware(t));
    WALK(prepareParameterUpdate());
    WALK(writeParameters(t));
    WALK(finish(t));
    WALK(verifyInstrument(inst.model, inst.serial, inst.cmd04));
  }

  // The whole update, steps 1 to 8.
  void wholeUpdate(const Texts& t) {
    WALK(start());
    WALK(readParameters());
    WALK(completeFromStepTwo(t));
  }
};

}  // namespace vq::e2e
