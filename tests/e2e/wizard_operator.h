// Plays the operator of the real program in-process: clicks the main window's buttons by their
// names, answers the file dialog and the forced-update dialog, reads and closes every message
// box, and moves the instrument's FW switch through vq-sim's control socket.
#pragma once
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "base/state.h"
#include "e2e/modal_operator.h"
#include "e2e/sim_process.h"
#include "ui/program.h"

namespace vq::e2e {

inline QString firstLine(const QString& text) { return text.section('\n', 0, 0); }

// The program with COM1 pinned to vq-sim's link, and the operator in front of it.
class Operator {
 public:
  explicit Operator(SimProcess& sim) : sim_(sim) {
    native::ComPortMap map;
    map.pin(1, sim.linkPath().toStdString());
    program_ = std::make_unique<ui::Program>(map);
    program_->start();
  }
  ~Operator() { program_.reset(); }

  ui::Program& program() { return *program_; }
  ui::MainWindow* window() { return &program_->window; }

  template <class T>
  T* child(const QString& name) {
    return window()->findChild<T*>(name);
  }
  QPushButton* button(const QString& name) { return child<QPushButton>(name); }
  QString label(const QString& name) {
    auto* l = child<QLabel>(name);
    return l ? l->text() : QString();
  }
  QString processText() {
    auto* t = child<QPlainTextEdit>("txtProcess");
    return t ? t->toPlainText() : QString();
  }
  // The step whose name label is bold (1 to 8), 0 when none or several are.
  int boldStep() {
    int found = 0;
    for (int i = 1; i <= 8; ++i) {
      auto* l = child<QLabel>(QString("lblProcess%1").arg(i, 2, 10, QChar('0')));
      if (l && l->font().bold()) found = found ? -1 : i;
    }
    return found < 0 ? 0 : found;
  }
  // The enabled state of the five wizard buttons as "FCUSN" letters (upper = on, lower = off),
  // in the order file, comm settings, forced update, stop, next.
  QString buttons() {
    QString s;
    const char* names[] = {"cmdFWFileSel", "cmdCommSetting", "cmdForceUpdate", "cmdCancel", "cmdNext"};
    const char letters[] = "FCUSN";
    for (int i = 0; i < 5; ++i) {
      QPushButton* b = button(names[i]);
      s += (b && b->isEnabled()) ? QChar(letters[i]) : QChar(letters[i]).toLower();
    }
    return s;
  }

  // Clicks a button as the mouse would and returns the messages shown meanwhile; false in
  // clicked when the button is missing or disabled.
  QStringList click(const QString& name, bool* clicked = nullptr, ModalOperator modal = {}) {
    QPushButton* b = button(name);
    const bool can = b && b->isEnabled() && b->isVisible();
    if (clicked) *clicked = can;
    if (!can) return {};
    modal.run([b] { QTest::mouseClick(b, Qt::LeftButton); });
    program_->platform.mirrorAll();
    return modal.messages;
  }
  QStringList next(bool* clicked = nullptr) { return click("cmdNext", clicked); }

  // "..." and the file dialog, answered with path.
  QStringList chooseFile(const QString& path, bool* clicked = nullptr) {
    ModalOperator m;
    m.fileAnswer = path;
    return click("cmdFWFileSel", clicked, m);
  }

  // The forced-update dialog: picks the model entry by keyboard, types the serial number and
  // presses Set. answered is false when no dialog appeared.
  QStringList forceUpdate(const QString& model, const QString& serial, bool* answered) {
    ModalOperator m;
    *answered = false;
    m.onDialog = [&](QDialog* dialog) {
      auto* combo = dialog->findChild<QComboBox*>("cboModel");
      auto* edit = dialog->findChild<QLineEdit*>("txtSerial");
      auto* set = dialog->findChild<QPushButton*>("cmdSet");
      if (!combo || !edit || !set || combo->findText(model) < 0) {
        dialog->reject();
        return;
      }
      combo->setFocus();
      for (int guard = 0; combo->currentText() != model && guard < combo->count(); ++guard)
        QTest::keyClick(combo, Qt::Key_Down);
      QTest::keyClicks(edit, serial);
      *answered = combo->currentText() == model;
      QTest::mouseClick(set, Qt::LeftButton);
    };
    return click("cmdForceUpdate", nullptr, m);
  }

  // The operator at the instrument: sets the FW switch and restarts it.
  bool moveSwitch(bool writing) {
    return sim_.ok(writing ? "switch W" : "switch -") && sim_.ok("power");
  }

 private:
  SimProcess& sim_;
  std::unique_ptr<ui::Program> program_;
};

}  // namespace vq::e2e
