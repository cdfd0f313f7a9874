// An operator who cannot hurt the instrument, through the real window against vq-sim: a second
// click or key while a step runs changes nothing; the cable pulled in steps 2, 5 and 7 ends the
// step within two seconds with a message and its cause, and after the replug Next completes the
// update; a port held by another program says which.
// VQ_TEST_LANG=ja_JP.UTF-8 runs it in Japanese; VQ_TEST_SHOTS=DIR saves the busy-port window.
#include <time.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QProcess>
#include <cstdio>
#include <functional>
#include <QTest>

#include "base/error_display.h"
#include "base/forms.h"
#include "base/wizard_codes.h"
#include "e2e/update_walk.h"
#include "platform/native/poll_loop.h"
#include "platform/native/serial_port.h"
#include "support/qt_test_app.h"

using namespace vq;
using namespace vq::e2e;

namespace {

double cpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Calls onShow for every widget shown while it lives.
class ShowWatch : public QObject {
 public:
  explicit ShowWatch(std::function<void(QObject*)> onShow) : onShow_(std::move(onShow)) {
    qApp->installEventFilter(this);
  }
  ~ShowWatch() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show) onShow_(o);
    return false;
  }

 private:
  std::function<void(QObject*)> onShow_;
};

// Delivers a second activation of a button while the first one's step runs: as Qt would deliver
// a click it already had (the signal itself), or as keys on the button.
void activateLater(QPushButton* b, const QString& how, int ms) {
  QTimer::singleShot(ms, b, [b, how] {
    if (how == "signal") {
      emit b->clicked(false);
    } else {
      QTest::keyClick(b, Qt::Key_Space);
      QTest::keyClick(b, Qt::Key_Return);
    }
  });
}

int requestsSeen(SimProcess& sim) {
  int n = 0;
  for (const QString& l : sim.report().linesStarting("frame "))
    if (l.contains(" in ") && l.contains("] request ")) ++n;
  return n;
}

}  // namespace

class OperatorSafetyE2eTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Rig> rig_;
  static Texts texts() { return textsFor(gLangId == 1041); }

  // Next with second activations of Next and Stop (and, in step 5, of Comm settings and Forced
  // update) queued inside the step: the step runs once and succeeds, the program stays.
  void nextWithSecondActivations(int step, const QString& how) {
    Rig& r = *rig_;
    for (int ms : {0, 30, 200}) activateLater(r.op->button("cmdNext"), how, ms);
    activateLater(r.op->button("cmdCancel"), how, 10);
    if (step == 5) {
      for (int ms : {0, 300}) {
        activateLater(r.op->button("cmdCommSetting"), how, ms);
        activateLater(r.op->button("cmdForceUpdate"), how, ms);
      }
    }
    WALK(r.nextTo(step));
    QVERIFY(!r.op->program().windows.quitting());
    QVERIFY(frmPortConf.caption.empty());     // the port dialog never loaded
    QVERIFY(frmForceUpdate.caption.empty());  // nor the forced-update dialog
  }

 private slots:
  void init() { rig_ = std::make_unique<Rig>(); }
  void cleanup() { rig_.reset(); }

  void secondActivationsChangeNothing_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("click delivered late") << "signal";
    QTest::newRow("space and enter") << "keys";
  }
  void secondActivationsChangeNothing() {
    QFETCH(QString, how);
    Rig& r = *rig_;
    WALK(r.start());
    WALK(nextWithSecondActivations(2, how));
    QCOMPARE(requestsSeen(r.sim), 7);  // one batch, no second one
    WALK(r.prepareFirmwareUpdate(r.inst.oldVersion));
    WALK(nextWithSecondActivations(5, how));
    WALK(r.prepareParameterUpdate());
    WALK(nextWithSecondActivations(7, how));
    WALK(r.finish(texts()));
    WALK(r.verifyInstrument(r.inst.model, r.inst.serial, r.inst.cmd04));
  }

  void cablePulledMidStepThenReplugged_data() {
    QTest::addColumn<int>("step");
    QTest::newRow("step 2") << 2;
    QTest::newRow("step 5, write block 200") << 5;
    QTest::newRow("step 7") << 7;
  }
  void cablePulledMidStepThenReplugged() {
    QFETCH(int, step);
    Rig& r = *rig_;
    // Step 7's initialisation takes the instrument a while, so the pull falls inside it.
    WALK(r.start(fastDevice() + QStringList{"--init-ms", "400"}));
    if (step > 2) {
      WALK(r.readParameters());
      WALK(r.prepareFirmwareUpdate(r.inst.oldVersion));
    }
    if (step > 5) {
      WALK(r.writeFirmware(texts()));
      WALK(r.prepareParameterUpdate());
    }

    QElapsedTimer sincePull;
    double cpuAtPull = 0;
    QTimer puller;
    puller.setInterval(2);
    QObject::connect(&puller, &QTimer::timeout, [&] {
      const bool due = step != 5 || (frmMain.prgProcess.value >= 200 &&
                                     frmMain.stsAppStatus.panel2.rfind("WRITE DATA", 0) == 0);
      if (!due || sincePull.isValid()) return;
      QVERIFY(r.sim.ok("unplug"));
      cpuAtPull = cpuSeconds();
      sincePull.start();
      puller.stop();
    });
    QTimer::singleShot(step == 5 ? 0 : 20, &puller, qOverload<>(&QTimer::start));
    bool clicked = false;
    QStringList shown;
    qint64 reportedMs = -1;
    double cpuMs = 0;
    // The moment the message box is shown, the step has reported. Seen as the box's show
    // event: a polling timer can lose the race with the timer that answers the box.
    ShowWatch boxWatch([&](QObject* o) {
      if (reportedMs >= 0 || !sincePull.isValid() || !qobject_cast<QMessageBox*>(o)) return;
      reportedMs = sincePull.elapsed();
      cpuMs = (cpuSeconds() - cpuAtPull) * 1000;
    });
    shown = r.op->next(&clicked);
    qInfo("step %d: the pulled cable reported after %lld ms, %.1f ms CPU meanwhile", step, reportedMs, cpuMs);
    QVERIFY(clicked);
    QVERIFY2(reportedMs >= 0, "the step ended before the cable was pulled");
    QVERIFY2(reportedMs < 2000, qPrintable(QString::number(reportedMs)));
    // No core spinning meanwhile: the message box itself costs a few ms.
    QVERIFY2(cpuMs < 50 + 0.5 * double(reportedMs), qPrintable(QString("%1 ms CPU").arg(cpuMs)));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(r.op->boldStep(), step - 1);
    QCOMPARE(int(gStep), step - 2);
    // The cause stays in view where the retry starts: the device gone (or, where the step
    // opened the port again, missing), and the cable to check.
    QVERIFY2(r.op->processText().contains("USB"), qPrintable(r.op->processText()));

    QVERIFY(r.sim.ok("replug"));
    if (step == 2) {
      WALK(r.readParameters());
      WALK(r.completeFromStepTwo(texts()));
      return;
    }
    if (step == 5) {
      QVERIFY(r.op->moveSwitch(true));  // the controller restarted in boot mode
      WALK(r.writeFirmware(texts()));
      WALK(r.prepareParameterUpdate());
    }
    WALK(r.writeParameters(texts()));
    WALK(r.finish(texts()));
    WALK(r.verifyInstrument(r.inst.model, r.inst.serial, r.inst.cmd04));
  }

  // Another program holds the port (its lock file and an open descriptor): the message box is
  // the usual one, the progress box says who holds it.
  void portHeldByAnotherProgramSaysWho() {
    Rig& r = *rig_;
    WALK(r.start());
    // This program again, holding the port the way the tool does (lock file and all).
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {"--hold", r.sim.linkPath()});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(5000));  // "held"
    const QString holderPid = QString::number(holder.processId());
    ModalOperator modal;
    QString boxText, processText;
    const QString shots = qEnvironmentVariable("VQ_TEST_SHOTS");
    ShowWatch look([&](QObject* o) {
      if (!qobject_cast<QMessageBox*>(o) || !processText.isEmpty()) return;
      processText = r.op->processText();
      if (!shots.isEmpty())
        r.op->window()->grab().save(shots + (gLangId == 1041 ? "/busy-port-ja.png" : "/busy-port-en.png"));
    });
    modal.run([&] { QTest::mouseClick(r.op->button("cmdNext"), Qt::LeftButton); });
    holder.kill();
    holder.waitForFinished();
    QCOMPARE(modal.messages.size(), 1);
    QCOMPARE(modal.messages[0], QString::fromStdString(pick(*errorText(kCodeUnknown))).replace("\r\n", "\n"));
    QVERIFY2(processText.contains("(pid " + holderPid + ")"), qPrintable(processText));
    QVERIFY2(r.op->processText().contains("(pid " + holderPid + ")"), qPrintable(r.op->processText()));
    QCOMPARE(r.op->boldStep(), 1);
    WALK(r.readParameters());  // free again: Next works
  }
};

int main(int argc, char** argv) {
  if (argc == 3 && QByteArray(argv[1]) == "--hold") {
    vq::native::ComPortMap map;
    map.pin(1, argv[2]);
    vq::native::PollLoop loop;
    vq::native::NativeSerialPort port(map, loop);
    try {
      port.setPortOpen(true);
    } catch (const vq::SerialError&) {
      return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    for (;;) ::pause();
  }
  const QByteArray lang = qgetenv("VQ_TEST_LANG");
  vq::test::QtTestApp app(argc, argv, lang.isEmpty() ? QByteArray("en_US.UTF-8") : lang);
  OperatorSafetyE2eTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "operator_safety_e2e_test.moc"
