// frmMain rendered: every control of the model as a widget named after it; clicks and the
// close box go to the model's event procedures.
#pragma once
#include <array>
#include <functional>

#include <QMainWindow>

#include "base/controls.h"
#include "base/form_layout.h"
#include "front/click_gate.h"
#include "ui/mirror.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vq::qt {
class QtPlatform;
}

namespace vq::ui {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(qt::QtPlatform& platform);
  // Copies frmMain into the widgets.
  void mirror();
  // Closes the window for good: the program is ending, the close box's check is skipped.
  void closeForQuit();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  QPushButton* makeButton(QWidget* parent, const char* name, const Button& model, void (*click)());
  // Every control at its place in the layout table for the face.
  void placeControls(Face face);

  qt::QtPlatform& platform_;
  bool quitting_ = false;
  Mirror m_;
  QGroupBox* fraProcess_;
  std::array<QLabel*, 8> lblProcess_{};
  QPlainTextEdit* txtInfo_;
  QPlainTextEdit* txtProcess_;
  QProgressBar* prgProcess_;
  QLabel* panel1_;
  QLabel* panel2_;
  QGroupBox* fraFWInfo_;
  QLabel *lblFWFileTitle_, *lblFWFile_, *lblFWOldTitle_, *lblFWOld_, *lblFWTo_, *lblFWNewTitle_, *lblFWNew_;
  QPushButton *cmdFWFileSel_, *cmdCommSetting_, *cmdForceUpdate_, *cmdCancel_, *cmdNext_;
};

// The click gate every window shares: a failure must not unwind through Qt's event loop, and
// a click Qt delivers before the widget mirrors a switched-off model (a double click, a key, a
// mnemonic) must not start a procedure again inside a running step.
using front::runClick;
using front::runProcedure;

}  // namespace vq::ui
