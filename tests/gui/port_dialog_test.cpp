// The port settings dialog in the real window, offscreen: the operator picks a port and a baud
// rate with the keyboard and presses Set or Cancel. COM3 is pinned to a pseudo-terminal, so the
// scan has one port it can open; COM1 is pinned to a device that does not exist.
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <memory>

#include "app/frm_main.h"
#include "base/comm_settings.h"
#include "config/frm_port_conf.h"
#include "config/port_scan.h"
#include "support/pty.h"
#include "support/qt_test_app.h"
#include "ui/program.h"

using namespace vq;

namespace {

constexpr int kPtyCom = 3;

// The program's port opens the slave.
using Pty = test::PtyMaster;

}  // namespace

class PortDialogTest : public QObject {
  Q_OBJECT

  std::unique_ptr<Pty> pty_;
  std::unique_ptr<ui::Program> program_;
  QPointer<QDialog> dialog_;

  QComboBox* list(const char* name) {
    auto* c = dialog_ ? dialog_->findChild<QComboBox*>(name) : nullptr;
    if (!c) qFatal("no list %s", name);
    return c;
  }
  // Steps through the list with the arrow keys, as an operator would, to the entry starting with text.
  bool choose(const char* name, const QString& text) {
    QComboBox* c = list(name);
    const int want = c->findText(text, Qt::MatchStartsWith);
    if (want < 0) return false;
    for (int guard = 0; guard < 64 && c->currentIndex() != want; ++guard)
      QTest::keyClick(c, c->currentIndex() < want ? Qt::Key_Down : Qt::Key_Up);
    return c->currentIndex() == want;
  }
  void press(const char* name) {
    auto* b = dialog_->findChild<QPushButton*>(name);
    QVERIFY2(b, name);
    QTest::mouseClick(b, Qt::LeftButton);
  }

 private slots:
  void init() {
    pty_ = std::make_unique<Pty>();
    QVERIFY(!pty_->slave.isEmpty());
    native::ComPortMap map;
    map.pin(1, "/nonexistent/ttyVQ0");
    map.pin(kPtyCom, pty_->slave.toStdString());
    program_ = std::make_unique<ui::Program>(map);
    program_->start();
    QVERIFY(QTest::qWaitForWindowExposed(&program_->window));
    QTest::mouseClick(program_->window.findChild<QPushButton*>("cmdCommSetting"), Qt::LeftButton);
    dialog_ = program_->window.findChild<QDialog*>("frmPortConf");
    QVERIFY(dialog_);
    QVERIFY(QTest::qWaitForWindowExposed(dialog_));
  }

  void cleanup() {
    program_.reset();
    pty_.reset();
  }

  void scanOffersThePseudoTerminal() {
    QVERIFY(std::find(gPortList.begin(), gPortList.end(), kPtyCom) != gPortList.end());
    const QString device = QFileInfo(pty_->slave).fileName();
    QVERIFY(list("cmbComPort")->findText(QString("COM%1 (%2)").arg(kPtyCom).arg(device)) >= 0);
    QVERIFY(list("cmbComPort")->findText("COM1", Qt::MatchStartsWith) < 0);
    // The scan gave the port back as it found it.
    QCOMPARE(mscComm().commPort(), 1);
    QCOMPARE(mscComm().settings(), std::string("307200,o,8,1"));
    QVERIFY(!mscComm().portOpen());
  }

  void setStoresThePortAndTheBaudRate() {
    QVERIFY(choose("cmbComPort", QString("COM%1").arg(kPtyCom)));
    QVERIFY(choose("cmbCommBaudrate", "9600"));
    press("cmdSet");
    QTRY_VERIFY(!dialog_);
    QCOMPARE(int(gCommPort), kPtyCom);
    QCOMPARE(gCommBaud, std::string("9600"));
    QCOMPARE(gCommParity, std::string("O"));
    QCOMPARE(fncLinkSettings(), std::string("9600,O,8,1"));

    // Opened again, the dialog shows the new choice.
    QTest::mouseClick(program_->window.findChild<QPushButton*>("cmdCommSetting"), Qt::LeftButton);
    dialog_ = program_->window.findChild<QDialog*>("frmPortConf");
    QVERIFY(dialog_);
    QCOMPARE(list("cmbCommBaudrate")->currentText(), QString("9600"));
  }

  void cancelChangesNothing() {
    QVERIFY(choose("cmbComPort", QString("COM%1").arg(kPtyCom)));
    QVERIFY(choose("cmbCommBaudrate", "110"));
    QVERIFY(choose("cmbParity", "Even"));
    press("cmdCancel");
    QTRY_VERIFY(!dialog_);
    QCOMPARE(int(gCommPort), 1);
    QCOMPARE(fncLinkSettings(), std::string("307200,O,8,1"));
    QCOMPARE(mscComm().commPort(), 1);
    QCOMPARE(mscComm().settings(), std::string("307200,o,8,1"));
  }

  void closeBoxChangesNothing() {
    QVERIFY(choose("cmbCommBaudrate", "110"));
    dialog_->close();
    QTRY_VERIFY(!dialog_);
    QVERIFY(!frmPortConf.open);
    QCOMPARE(gCommBaud, std::string("307200"));
  }
};

int main(int argc, char** argv) {
  vq::test::QtTestApp app(argc, argv);
  PortDialogTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "port_dialog_test.moc"
