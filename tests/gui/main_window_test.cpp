// The real main window, offscreen: it renders the form model, and clicks, the close box and
// the dialogs reach the wizard. COM1 is pinned to a device that does not exist, so the steps
// that open the port fail at once and the wizard goes back, as with an unplugged cable.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/frm_force_update.h"
#include "app/frm_main.h"
#include "app/sequencer.h"
#include "app/step_texts.h"
#include "app/update_journal_steps.h"
#include "base/firmware_file.h"
#include "base/param_store.h"
#include "base/state.h"
#include "base/texts.h"
#include "base/wizard_codes.h"
#include "config/frm_port_conf.h"
#include "support/qt_test_app.h"
#include "ui/program.h"

using namespace vq;

namespace {

// Plays the operator in every modal window that opens while fn runs: message boxes are read
// and closed with OK; any other modal dialog is handed to onDialog once.
struct ModalAnswers {
  QStringList messages;
  QStringList titles;
  int dialogs = 0;

  void run(const std::function<void()>& fn, const std::function<void(QDialog*)>& onDialog = {}) {
    QTimer timer;
    QWidget* handled = nullptr;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w || w == handled) return;
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        messages << box->text();
        titles << box->windowTitle();
        handled = box;
        box->button(QMessageBox::Ok)->click();
      } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
        handled = dialog;
        ++dialogs;
        if (onDialog) onDialog(dialog);
        else dialog->reject();
      }
    });
    timer.start(20);
    fn();
  }
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ui::Program> program_;
  ui::MainWindow* window() { return &program_->window; }

  template <class T>
  T* child(const char* name) {
    T* w = window()->findChild<T*>(name);
    if (!w) qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return w;
  }
  QString label(const char* name) { return child<QLabel>(name)->text(); }
  bool bold(const char* name) { return child<QLabel>(name)->font().bold(); }
  int boldStep() {
    int found = 0;
    for (int i = 1; i <= 8; ++i)
      if (bold(qPrintable(QString("lblProcess%1").arg(i, 2, 10, QChar('0'))))) found = found ? -1 : i;
    return found;
  }
  void click(const char* name, ModalAnswers* answers = nullptr) {
    QPushButton* b = child<QPushButton>(name);
    QVERIFY2(b->isEnabled(), name);
    auto press = [b] { QTest::mouseClick(b, Qt::LeftButton); };
    if (answers) answers->run(press);
    else press();
  }
  // Shows step stepNo directly, as the sequencer would after the steps before it.
  void showStep(int stepNo) {
    gStep = static_cast<std::uint8_t>(stepNo - 1);
    subSequencer();
    program_->windows.refresh();
  }

 private slots:
  void init() {
    native::ComPortMap map;
    map.pin(1, "/nonexistent/ttyVQ0");
    program_ = std::make_unique<ui::Program>(map);
    program_->start();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
  }

  void cleanup() { program_.reset(); }

  void everyControlIsFoundByItsName() {
    for (const char* name : {"fraProcess", "fraFWInfo"}) QVERIFY2(window()->findChild<QGroupBox*>(name), name);
    for (const char* name : {"lblProcess01", "lblProcess02", "lblProcess03", "lblProcess04", "lblProcess05",
                             "lblProcess06", "lblProcess07", "lblProcess08", "lblFWFileTitle", "lblFWFile",
                             "lblFWOldTitle", "lblFWOld", "lblFWTo", "lblFWNewTitle", "lblFWNew"})
      QVERIFY2(window()->findChild<QLabel*>(name), name);
    for (const char* name : {"txtInfo", "txtProcess"}) {
      auto* t = window()->findChild<QPlainTextEdit*>(name);
      QVERIFY2(t && t->isReadOnly(), name);
    }
    QVERIFY(window()->findChild<QProgressBar*>("prgProcess"));
    QVERIFY(window()->findChild<QStatusBar*>("stsAppStatus"));
    for (const char* name : {"cmdFWFileSel", "cmdCommSetting", "cmdForceUpdate", "cmdCancel", "cmdNext"})
      QVERIFY2(window()->findChild<QPushButton*>(name), name);
  }

  void startsOnStepOneWithTheModelsCaptions() {
    QVERIFY(window()->windowTitle().startsWith("VQ SYSTEM  Firmware update tool"));
    QVERIFY(window()->windowTitle().endsWith("(Ver1.1.0)"));
    QCOMPARE(child<QPushButton>("cmdNext")->text(), QString("Next ->"));
    QCOMPARE(child<QPushButton>("cmdForceUpdate")->text(), QString("Forced  update"));
    QCOMPARE(child<QPushButton>("cmdFWFileSel")->text(), QString("..."));
    const char* steps[8] = {"1. Start", "2. Getting parameters", "3. Checking the version",
                            "4. Preparing firmware update", "5. Firmware update",
                            "6. Preparing parameter update", "7. Parameter update", "8. Quit"};
    for (int i = 0; i < 8; ++i) QCOMPARE(label(qPrintable(QString("lblProcess0%1").arg(i + 1))), QString(steps[i]));
    QCOMPARE(boldStep(), 1);
    QCOMPARE(child<QGroupBox>("fraProcess")->title(), QString("Processing status"));
    QCOMPARE(label("lblFWOld"), QString("Unkonwn"));
    QCOMPARE(label("lblFWNew"), QString("No select"));
    QCOMPARE(label("lblFWTo"), QString("--->"));
    QCOMPARE(label("stsAppStatusPanel1"), QString("Update start"));
    // The instruction text arrives with its CR LF pairs turned into line breaks.
    const QString info = child<QPlainTextEdit>("txtInfo")->toPlainText();
    QVERIFY(info.startsWith("1. Start\n\n  a. Connect"));
    QVERIFY(!info.contains('\r'));
    QVERIFY(window()->font().families().contains(kFontEnglish));
  }

  void nextWithoutTheDeviceShowsTheErrorAndStaysOnStepOne() {
    ModalAnswers answers;
    click("cmdNext", &answers);
    QCOMPARE(answers.messages.size(), 1);
    QVERIFY(!answers.messages[0].isEmpty());
    QVERIFY(!answers.messages[0].contains('\r'));
    QCOMPARE(answers.titles[0], QApplication::applicationDisplayName());
    QCOMPARE(boldStep(), 1);
    QCOMPARE(label("stsAppStatusPanel1"), QString("Update start"));
    for (const char* name : {"cmdFWFileSel", "cmdCommSetting", "cmdForceUpdate", "cmdCancel", "cmdNext"})
      QVERIFY2(child<QPushButton>(name)->isEnabled(), name);
    QVERIFY(!QApplication::overrideCursor());
  }

  void nextWalksTheScreenStepsAndAFailedUpdateGoesBack() {
    gFileValid = true;
    showStep(3);
    QCOMPARE(boldStep(), 3);
    QCOMPARE(label("stsAppStatusPanel1"), QString("Version check"));
    QVERIFY(child<QPushButton>("cmdNext")->isEnabled());

    click("cmdNext");
    QCOMPARE(boldStep(), 4);
    QCOMPARE(label("stsAppStatusPanel1"), QString("Firmware update"));
    QVERIFY(child<QPlainTextEdit>("txtInfo")->toPlainText().startsWith("4. Preparation for firmware update"));

    // Step 5 cannot open the port: the error is shown and step 4 comes back, file choice off.
    ModalAnswers answers;
    click("cmdNext", &answers);
    QCOMPARE(answers.messages.size(), 1);
    QCOMPARE(boldStep(), 4);
    QVERIFY(!child<QPushButton>("cmdFWFileSel")->isEnabled());
    QVERIFY(child<QPushButton>("cmdNext")->isEnabled());
  }

  void stepSixFailsBackAndStepEightEndsTheProgram() {
    showStep(6);
    QCOMPARE(boldStep(), 6);
    ModalAnswers answers;
    click("cmdNext", &answers);  // step 7 cannot open the port
    QCOMPARE(answers.messages.size(), 1);
    QCOMPARE(boldStep(), 6);
    QVERIFY(!child<QPushButton>("cmdCancel")->isEnabled());

    showStep(8);
    QCOMPARE(boldStep(), 8);
    QCOMPARE(child<QPushButton>("cmdNext")->text(), QString("End"));
    QVERIFY(window()->isVisible());
    click("cmdNext");
    QVERIFY(!window()->isVisible());
  }

  void closeBoxIsRefusedWhileAStepHoldsThePort() {
    frmMain.stepRunning = true;
    QVERIFY(!window()->close());
    QVERIFY(window()->isVisible());
    frmMain.stepRunning = false;
    QVERIFY(window()->close());
    QVERIFY(!window()->isVisible());
  }

  void instructionTextsFitWithoutScrollingOrWrapping() {
    auto* info = child<QPlainTextEdit>("txtInfo");
    const InfoText all[] = {InfoText::T1, InfoText::T2a, InfoText::T2b, InfoText::T3, InfoText::T4, InfoText::T5a,
                            InfoText::T5b, InfoText::T6, InfoText::T7a, InfoText::T7b, InfoText::T8};
    for (bool japanese : {false, true}) {
      frmMain.fontName = japanese ? kFontJapanese : kFontEnglish;
      for (InfoText t : all) {
        const Text& text = stepText(t);
        frmMain.txtInfo.text = japanese ? text.ja : text.en;
        program_->windows.refresh();
        QApplication::processEvents();
        const QString what = QString("%1 text %2").arg(japanese ? "Japanese" : "English").arg(int(t));
        QVERIFY2(info->verticalScrollBar()->maximum() == 0, qPrintable(what + " scrolls"));
        QVERIFY2(info->document()->lineCount() == info->document()->blockCount(), qPrintable(what + " wraps"));
      }
    }
  }

  void progressLogShowsItsLastLine() {
    std::string log;
    for (int i = 1; i <= 12; ++i) log += "line " + std::to_string(i) + (i < 12 ? "\r\n" : "");
    frmMain.txtProcess.text = log;
    program_->windows.refresh();
    QApplication::processEvents();
    auto* sb = child<QPlainTextEdit>("txtProcess")->verticalScrollBar();
    QVERIFY(sb->maximum() > 0);
    QCOMPARE(sb->value(), sb->maximum());
  }

  void progressLogEditsInPlaceMatchTheModel() {
    // Each text follows the one before: the box is edited from the first line that differs.
    const char* texts[] = {
        "Erasing",
        "Erasing\r\nWriting 0 Block",
        "Erasing\r\nWriting 1 Block",
        "Erasing\r\nWriting 10 Block",
        "Erasing\r\nWriting 9 Block",
        "Erasing\r\nWrite completed\r\nVerifying 0 Block",
        "Erasing\r\nWrite completed\r\n",
        "Erasing\r\nWrite completed",
        "Erasing",
        "",
        "Other\r\nlines",
        "Otter\r\nlines",
        "\r\n\r\nlines",
    };
    auto* box = child<QPlainTextEdit>("txtProcess");
    for (const char* t : texts) {
      frmMain.txtProcess.text = t;
      program_->windows.refresh();
      QCOMPARE(box->toPlainText(), QString(t).replace("\r\n", "\n"));
      QCOMPARE(box->document()->blockCount(), int(QString(t).count("\r\n")) + 1);
    }
  }

  void yieldsLeaveAnUnchangedTextWhereTheOperatorScrolledIt() {
    std::string log;
    for (int i = 1; i <= 12; ++i) log += "line " + std::to_string(i) + "\r\n";
    frmMain.txtProcess.text = log;
    program_->windows.refresh();
    auto* sb = child<QPlainTextEdit>("txtProcess")->verticalScrollBar();
    sb->setValue(0);
    for (int i = 0; i < 5; ++i) {
      QTest::qWait(20);
      program_->platform.doEvents();
    }
    QCOMPARE(sb->value(), 0);
  }

  void aHundredThousandYieldsStayCheap() {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 100000; ++i) program_->platform.doEvents();
    QVERIFY2(t.elapsed() < 3000, qPrintable(QString("%1 ms").arg(t.elapsed())));
  }

  void aLoopOfYieldsStillDeliversEvents() {
    // Yields close together are skipped; a loop of them must still reach the event loop.
    for (int round = 0; round < 3; ++round) {
      bool fired = false;
      QTimer::singleShot(0, [&] { fired = true; });
      QElapsedTimer t;
      t.start();
      while (!fired && t.elapsed() < 1000) program_->platform.doEvents();
      QVERIFY(fired);
    }
  }

  void yieldsMirrorTheModelWithoutAClick() {
    frmMain.stsAppStatus.panel2 = "CHIP ERASE SEND";
    frmMain.prgProcess = {0, 512, 256};
    QTest::qWait(150);
    program_->platform.doEvents();
    QCOMPARE(label("stsAppStatusPanel2"), QString("CHIP ERASE SEND"));
    QCOMPARE(child<QProgressBar>("prgProcess")->maximum(), 512);
    QCOMPARE(child<QProgressBar>("prgProcess")->value(), 256);
  }

  void portDialogRendersItsModelAndCloses() {
    click("cmdCommSetting");
    auto* dialog = window()->findChild<QDialog*>("frmPortConf");
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QString("Comm settings"));
    QCOMPARE(dialog->pos(), QPoint(frmPortConf.left, frmPortConf.top));
    const char* lists[] = {"cmbComPort", "cmbCommBaudrate", "cmbUpBaudrate", "cmbParity",
                           "cmbDataBits", "cmbStopBits", "cmbFlowCtl"};
    for (const char* name : lists) {
      auto* combo = dialog->findChild<QComboBox*>(name);
      QVERIFY2(combo && combo->count() > 0 && combo->currentIndex() >= 0, name);
    }
    auto* parity = dialog->findChild<QComboBox*>("cmbParity");
    QCOMPARE(parity->currentText(), QString("Odd"));
    auto* parityTitle = dialog->findChild<QLabel*>("lblParityTitle");
    QCOMPARE(parityTitle->text(), QString("Parity :"));
    QCOMPARE(parityTitle->buddy(), parity);
    // Choosing an entry reaches the model.
    parity->activated(1);
    QCOMPARE(frmPortConf.cmbParity.listIndex, 1);
    QPointer<QDialog> alive(dialog);
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    QTRY_VERIFY(!alive);
  }

  void forcedUpdateCloseBoxLeavesTheStep() {
    ModalAnswers answers;
    answers.run([this] { click("cmdForceUpdate"); }, [](QDialog* dialog) { dialog->close(); });
    QCOMPARE(answers.dialogs, 1);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(boldStep(), 1);
  }

  void forcedUpdateDialogJumpsToStepThree() {
    // A wrong entry keeps the dialog open with a message; five digits close it and jump.
    ModalAnswers answers;
    QString model;
    answers.run([this] { click("cmdForceUpdate"); },
                [&](QDialog* dialog) {
                  QCOMPARE(dialog->objectName(), QString("frmForceUpdate"));
                  // Without a saved update for the port, as it always was.
                  QVERIFY(!dialog->findChild<QLabel*>("lblSaved")->isVisible());
                  QVERIFY(!dialog->findChild<QPushButton*>("cmdForget")->isVisible());
                  auto* models = dialog->findChild<QComboBox*>("cboModel");
                  QCOMPARE(models->count(), 2);
                  models->activated(1);  // as if the operator chose the second entry
                  model = models->itemText(1);
                  auto* serial = dialog->findChild<QLineEdit*>("txtSerial");
                  QCOMPARE(dialog->findChild<QLabel*>("lblSerialTitle")->buddy(), serial);
                  QTest::keyClicks(serial, "1234");
                  // This timer does not fire again while its handler runs: a second one answers.
                  ModalAnswers inner;
                  inner.run([&] { QTest::mouseClick(dialog->findChild<QPushButton*>("cmdSet"), Qt::LeftButton); });
                  answers.messages << inner.messages;
                  QVERIFY(dialog->isVisible());
                  QTest::keyClicks(serial, "5");
                  QCOMPARE(frmForceUpdate.txtSerial.text, std::string("12345"));
                  QTest::mouseClick(dialog->findChild<QPushButton*>("cmdSet"), Qt::LeftButton);
                });
    QCOMPARE(answers.dialogs, 1);
    QCOMPARE(answers.messages.size(), 1);
    QVERIFY(answers.messages[0].startsWith("The wrong number of digits"));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(QString::fromStdString(gModelName), model);
    QCOMPARE(gSerialNo, std::string(" 12345"));
    QCOMPARE(boldStep(), 3);
    QCOMPARE(label("lblFWOld"), QString("Ver.0.0.0"));
  }

  void forcedUpdateCarriesTheSavedUpdateOfThisPort() {
    // Step 2 got no valid reply on a port with an update cut short: the dialog fills in its
    // identity (a model outside the list added), names it, and Set carries its setting.
    struct OneEntry : UpdateJournalStore {
      JournalEntry e;
      bool save(const JournalEntry&, std::string&) override { return true; }
      void finish(const std::string&, const std::string&) override {}
      std::vector<JournalEntry> unfinished(std::vector<JournalProblem>&) override { return {e}; }
    } store;
    store.e = {"VQA-7002", " 13579", 9, 1, 12, 3, "/nonexistent/ttyVQ0", "VQ_1.2.0.bin", "", "2026-12-08T10:00:00Z", 1};
    installJournalStore(&store);
    subOfferSavedIdentity(kCodeLinkRetries);
    QVERIFY(frmMain.txtProcess.text.find("If this is that instrument (compare its label)") != std::string::npos);
    ModalAnswers answers;
    answers.run([this] { click("cmdForceUpdate"); },
                [&](QDialog* dialog) {
                  QVERIFY(dialog->findChild<QLabel*>("lblSaved")->isVisible());
                  QVERIFY(dialog->findChild<QLabel*>("lblSaved")->text().contains("VQA-7002  13579"));
                  QVERIFY(dialog->findChild<QPushButton*>("cmdForget")->isVisible());
                  QCOMPARE(dialog->findChild<QComboBox*>("cboModel")->currentText(), QString("VQA-7002"));
                  QCOMPARE(dialog->findChild<QLineEdit*>("txtSerial")->text(), QString("13579"));
                  if (const QByteArray shot = qgetenv("VQ_SHOT_DIR"); !shot.isEmpty())
                    dialog->grab().save(QString::fromLocal8Bit(shot) + "/force_update_saved.png");
                  QTest::mouseClick(dialog->findChild<QPushButton*>("cmdSet"), Qt::LeftButton);
                });
    installJournalStore(nullptr);
    QCOMPARE(boldStep(), 3);
    QCOMPARE(gModelName, std::string("VQA-7002"));
    QCOMPARE(int(gCmd04Value), 9);
    QCOMPARE(label("lblFWOld"), QString("Ver.1.2.3"));
  }
};

int main(int argc, char** argv) {
  vq::test::QtTestApp app(argc, argv);
  MainWindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "main_window_test.moc"
