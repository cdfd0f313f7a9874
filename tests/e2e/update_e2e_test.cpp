// Whole updates through the real window, the real serial port and vq-sim on a pseudo-terminal,
// in English: the plain update, a forced update, a failure in each of steps 2, 5 and 7 followed
// by a retry that completes, and the operator who forgot to move the FW switch.
#include <QTest>

#include "e2e/update_walk.h"
#include "support/qt_test_app.h"

using namespace vq;
using namespace vq::e2e;

namespace {

const QString kRetriesMessage = "Excessive retries occur when communicating.";  // code 12
const QString kUpdateTimeoutMessage = "Timeout occurs when updating process.";   // code 33

// The instrument requests the simulator has seen so far, e.g. "request 127 write".
QStringList requestsSeen(SimProcess& sim) {
  QStringList out;
  for (const QString& l : sim.report().linesStarting("frame "))
    if (l.contains(" in ") && l.contains("] request ")) out << l.section("] ", 1);
  return out;
}

}  // namespace

class UpdateE2eTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Rig> rig_;
  const Texts en_ = textsFor(false);

 private slots:
  void init() { rig_ = std::make_unique<Rig>(); }
  void cleanup() { rig_.reset(); }

  void wholeUpdateRestoresTheIdentityReadInStepTwo() { WALK(rig_->wholeUpdate(en_)); }

  void forcedUpdateWritesTheDialogsModelAndSerial() {
    Rig& r = *rig_;
    WALK(r.start());
    bool answered = false;
    QCOMPARE(r.op->forceUpdate("VQA-7000", "24680", &answered), QStringList());
    QVERIFY(answered);
    QCOMPARE(r.op->boldStep(), 3);
    QCOMPARE(r.op->label("lblFWOld"), QString("Ver.0.0.0"));
    WALK(r.nextTo(4));
    QVERIFY(r.op->moveSwitch(true));
    WALK(r.writeFirmware(en_));
    WALK(r.prepareParameterUpdate());
    WALK(r.writeParameters(en_));
    WALK(r.finish(en_));
    // No step 2 ran, so the command-4 setting written back is 0.
    WALK(r.verifyInstrument("VQA-7000", " 24680", 0));
  }

  // Replies that come byte by byte at the line's pace are assembled whole, none lost to the
  // discard that follows each read: every request of step 2 goes out once. A lost byte depends
  // on timing, so step 2 runs several times, each in a freshly started program.
  void pacedRepliesNeedNoRepeats() {
    Rig& r = *rig_;
    WALK(r.start(fastDevice() << "--pace"));
    const QStringList once{"request 127 write", "request 1 read", "request 2 read", "request 4 read",
                           "request 5 read",    "request 6 read", "request 127 write"};
    for (int round = 1; round <= 8; ++round) {
      if (round > 1) WALK(r.openProgram());
      const qsizetype before = requestsSeen(r.sim).size();
      WALK(r.readParameters());
      QVERIFY2(requestsSeen(r.sim).mid(before) == once,
               qPrintable(QString("round %1: %2").arg(round).arg(requestsSeen(r.sim).mid(before).join(", "))));
    }
  }

  void silentInstrumentInStepTwoThenRetry() {
    Rig& r = *rig_;
    WALK(r.start());
    QVERIFY(r.sim.ok("fault silent"));
    WALK(r.nextFails(2, kRetriesMessage));
    QCOMPARE(r.op->buttons(), QString("FCUSN"));
    QVERIFY(r.sim.ok("fault clear"));
    WALK(r.readParameters());
    WALK(r.completeFromStepTwo(en_));
  }

  void lostWriteReplyInStepFiveThenRetry() {
    Rig& r = *rig_;
    WALK(r.start());
    WALK(r.readParameters());
    WALK(r.prepareFirmwareUpdate(r.inst.oldVersion));
    QVERIFY(r.sim.ok("fault wdata#300:drop"));
    WALK(r.nextFails(5, kUpdateTimeoutMessage));
    QCOMPARE(r.op->buttons(), QString("fCUSN"));
    QCOMPARE(r.sim.report()["flash_matches_update_file"], QString("no"));
    // The controller still runs at the writing rate: the operator restarts it in boot mode.
    QVERIFY(r.sim.ok("fault clear"));
    QVERIFY(r.sim.ok("power"));
    WALK(r.writeFirmware(en_));
    WALK(r.prepareParameterUpdate());
    WALK(r.writeParameters(en_));
    WALK(r.finish(en_));
    WALK(r.verifyInstrument(r.inst.model, r.inst.serial, r.inst.cmd04));
  }

  void silentInstrumentInStepSevenWriteBatchThenRetry() {
    Rig& r = *rig_;
    WALK(r.start());
    WALK(r.readParameters());
    WALK(r.prepareFirmwareUpdate(r.inst.oldVersion));
    WALK(r.writeFirmware(en_));
    WALK(r.prepareParameterUpdate());
    // Step 7 sends the initialise batch (mode request, command 124), then the write batch: the
    // instrument stops answering from the write batch's first request on.
    const int firstOfWriteBatch = int(requestsSeen(r.sim).size()) + 3;
    QVERIFY(r.sim.ok(QString("fault inst#%1+0:drop").arg(firstOfWriteBatch)));
    WALK(r.nextFails(7, kRetriesMessage));
    QCOMPARE(r.op->buttons(), QString("fcusN"));
    QVERIFY(r.sim.ok("fault clear"));
    WALK(r.writeParameters(en_));
    WALK(r.finish(en_));
    WALK(r.verifyInstrument(r.inst.model, r.inst.serial, r.inst.cmd04));
  }

  void switchNotMovedTimesOutAndLeavesTheFlash() {
    Rig& r = *rig_;
    WALK(r.start());
    WALK(r.readParameters());
    WALK(r.nextTo(3));
    WALK(r.nextTo(4));
    // The operator presses Next without moving the switch: the controller is not in boot mode.
    WALK(r.nextFails(5, kUpdateTimeoutMessage));
    const SimReport after = r.sim.report();
    QCOMPARE(after["mode"], QString("instrument"));
    QCOMPARE(after["flash_sha256"], r.startSha);
    // Then does it right.
    QVERIFY(r.op->moveSwitch(true));
    WALK(r.writeFirmware(en_));
    WALK(r.prepareParameterUpdate());
    WALK(r.writeParameters(en_));
    WALK(r.finish(en_));
    // The boot-mode bytes sent to the instrument in normal mode are violations; expected here.
    WALK(r.verifyInstrument(r.inst.model, r.inst.serial, r.inst.cmd04, false));
  }
};

int main(int argc, char** argv) {
  vq::test::QtTestApp app(argc, argv);
  UpdateE2eTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "update_e2e_test.moc"
