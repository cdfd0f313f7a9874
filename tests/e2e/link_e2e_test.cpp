// Steps 2 and 7 of vq-update's core over the real Qt serial port against vq-sim on a
// pseudo-terminal at the link settings: the identity and the command-4 value read in step 2 are
// in the simulator again after step 7, and it saw nothing a real instrument would refuse.
#include <QApplication>
#include <QMap>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/frm_main.h"
#include "app/state.h"
#include "link/param_store.h"
#include "ui/program.h"

using namespace vq;

namespace {

// key=value lines of the simulator's report.
QMap<QString, QString> readReport(const QString& path) {
  QMap<QString, QString> facts;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return facts;
  for (const QByteArray& line : f.readAll().split('\n')) {
    const int eq = line.indexOf('=');
    const QByteArray key = line.left(eq);
    if (eq > 0 && !key.contains(' ')) facts.insert(QString::fromUtf8(key), QString::fromUtf8(line.mid(eq + 1)));
  }
  return facts;
}

}  // namespace

class LinkE2e : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QProcess sim_;
  QString slave_;
  QStringList messages_;
  QTimer modalWatch_;

  QString reportPath() const { return dir_.filePath("report.txt"); }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    sim_.setProgram(VQ_SIM_PATH);
    sim_.setArguments({"--model", "VQA-7000", "--serial", " 27182", "--cmd04", "42,0", "--init-ms", "300",
                       "--report", reportPath()});
    sim_.start();
    QVERIFY2(sim_.waitForStarted(5000), "vq-sim did not start");
    while (!sim_.canReadLine()) QVERIFY2(sim_.waitForReadyRead(5000), "vq-sim printed no slave path");
    slave_ = QString::fromUtf8(sim_.readLine()).trimmed();
    QVERIFY(!slave_.isEmpty());

    // Message boxes would block the steps: note them and close them.
    connect(&modalWatch_, &QTimer::timeout, this, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        messages_ << box->text();
        box->button(QMessageBox::Ok)->click();
      }
    });
    modalWatch_.start(20);
  }

  void cleanupTestCase() {
    if (sim_.state() != QProcess::NotRunning) {
      sim_.kill();
      sim_.waitForFinished(5000);
    }
  }

  void identityReadInStepTwoIsBackAfterStepSeven() {
    qt::ComPortMap map;
    map.pin(1, slave_);
    auto program = std::make_unique<ui::Program>(map);
    program->start();

    cmdNext_Click();  // step 2
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
    QCOMPARE(int(gStep), 1);
    QCOMPARE(QString::fromStdString(gModelName), QString("VQA-7000"));
    QCOMPARE(QString::fromStdString(gSerialNo), QString(" 27182"));
    QCOMPARE(int(gCmd04Value), 42);

    gStep = 5;  // step 6 on screen: the firmware steps are not this test's business
    cmdNext_Click();  // step 7
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(" | ")));
    QCOMPARE(int(gStep), 6);
    program.reset();

    sim_.write("quit\n");
    sim_.closeWriteChannel();
    QVERIFY(sim_.waitForFinished(10000));
    const auto facts = readReport(reportPath());
    QVERIFY2(!facts.isEmpty(), "no report from vq-sim");
    QCOMPARE(facts.value("model"), QString("VQA-7000"));
    QCOMPARE(facts.value("serial"), QString(" 27182"));
    QCOMPARE(facts.value("cmd04"), QString("42"));
    QCOMPARE(facts.value("pc_mode"), QString("0"));
    QCOMPARE(facts.value("violations"), QString("0"));
    QVERIFY(facts.value("frames_in").toInt() >= 14);  // 7 requests in step 2, 7 in step 7
  }
};

QTEST_MAIN(LinkE2e)
#include "link_e2e_test.moc"
