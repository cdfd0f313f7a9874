#include "ui/main_window.h"

#include <algorithm>

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/frm_main.h"
#include "platform/qt/qt_platform.h"
#include "platform/windows.h"

namespace vq::ui {

namespace {

// The flash moves the bar ten times a second for minutes. Fusion paints it with antialiased
// gradients at about 0.45 ms a paint, a tenth of the CPU the whole flash may take; a flat bar
// in the palette's colours costs a tenth of that.
class FlatProgressBar : public QProgressBar {
 public:
  using QProgressBar::QProgressBar;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(frame);
    const qint64 span = qint64(maximum()) - minimum();
    if (span <= 0 || value() <= minimum()) return;
    const QRect inner = rect().adjusted(2, 2, -2, -2);
    const int w = int(inner.width() * (qint64(value()) - minimum()) / span);
    p.fillRect(QRect(inner.topLeft(), QSize(w, inner.height())), palette().highlight());
  }
};

// Room for the longest instruction text (13 lines) and the widest line of either language,
// and for the last lines of the firmware update's progress log.
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kInfoLines = 14;
constexpr int kProcessLines = 4;

QLabel* makeLabel(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  return l;
}

QPlainTextEdit* makeTextBox(QWidget* parent, const char* name, int lines) {
  auto* t = new QPlainTextEdit(parent);
  t->setObjectName(name);
  t->setReadOnly(true);
  // The mirror edits the text in place; an undo history would only grow.
  t->setUndoRedoEnabled(false);
  t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  t->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  t->setProperty("visibleLines", lines);
  return t;
}

void fitLines(QPlainTextEdit* t) {
  const int lines = t->property("visibleLines").toInt();
  const int h = t->fontMetrics().lineSpacing() * lines + 2 * t->frameWidth() +
                int(t->document()->documentMargin() * 2) + 4;
  t->setFixedHeight(h);
}

}  // namespace

QPushButton* MainWindow::makeButton(const char* name, const Button& model, void (*click)()) {
  auto* b = new QPushButton(this);
  b->setObjectName(name);
  b->setAutoDefault(false);
  connect(b, &QPushButton::clicked, this, [this, &model, click] {
    if (runClick(model, click)) platform_.mirrorAll();
  });
  return b;
}

MainWindow::MainWindow(qt::QtPlatform& platform) : platform_(platform) {
  setObjectName("frmMain");
  auto* central = new QWidget(this);
  central->setObjectName("frmMainClient");
  setCentralWidget(central);

  fraProcess_ = new QGroupBox(central);
  fraProcess_->setObjectName("fraProcess");
  auto* steps = new QVBoxLayout(fraProcess_);
  static const char* const kStepNames[8] = {"lblProcess01", "lblProcess02", "lblProcess03", "lblProcess04",
                                            "lblProcess05", "lblProcess06", "lblProcess07", "lblProcess08"};
  for (int i = 0; i < 8; ++i) {
    lblProcess_[i] = makeLabel(fraProcess_, kStepNames[i]);
    steps->addWidget(lblProcess_[i]);
  }
  steps->addStretch();

  fraFWInfo_ = new QGroupBox(central);
  fraFWInfo_->setObjectName("fraFWInfo");
  auto* fw = new QGridLayout(fraFWInfo_);
  lblFWFileTitle_ = makeLabel(fraFWInfo_, "lblFWFileTitle");
  lblFWFile_ = makeLabel(fraFWInfo_, "lblFWFile");
  lblFWFile_->setFrameShape(QFrame::StyledPanel);
  lblFWFile_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  lblFWFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cmdFWFileSel_ = makeButton("cmdFWFileSel", frmMain.cmdFWFileSel, cmdFWFileSel_Click);
  lblFWOldTitle_ = makeLabel(fraFWInfo_, "lblFWOldTitle");
  lblFWOld_ = makeLabel(fraFWInfo_, "lblFWOld");
  lblFWTo_ = makeLabel(fraFWInfo_, "lblFWTo");
  lblFWNewTitle_ = makeLabel(fraFWInfo_, "lblFWNewTitle");
  lblFWNew_ = makeLabel(fraFWInfo_, "lblFWNew");
  for (QLabel* v : {lblFWOld_, lblFWNew_}) {
    v->setFrameShape(QFrame::StyledPanel);
    v->setAlignment(Qt::AlignCenter);
  }
  lblFWTo_->setAlignment(Qt::AlignCenter);
  for (QLabel* t : {lblFWOldTitle_, lblFWNewTitle_}) t->setAlignment(Qt::AlignCenter);
  fw->addWidget(lblFWFileTitle_, 0, 0, 1, 3);
  fw->addWidget(lblFWFile_, 1, 0, 1, 3);
  fw->addWidget(cmdFWFileSel_, 1, 3);
  fw->addWidget(lblFWOldTitle_, 2, 0);
  fw->addWidget(lblFWNewTitle_, 2, 2);
  fw->addWidget(lblFWOld_, 3, 0);
  fw->addWidget(lblFWTo_, 3, 1);
  fw->addWidget(lblFWNew_, 3, 2);
  fw->setColumnStretch(0, 1);
  fw->setColumnStretch(2, 1);
  fw->setRowStretch(4, 1);
  cmdFWFileSel_->setParent(fraFWInfo_);

  txtInfo_ = makeTextBox(central, "txtInfo", kInfoLines);
  txtProcess_ = makeTextBox(central, "txtProcess", kProcessLines);
  prgProcess_ = new FlatProgressBar(central);
  prgProcess_->setObjectName("prgProcess");
  prgProcess_->setTextVisible(false);

  cmdCommSetting_ = makeButton("cmdCommSetting", frmMain.cmdCommSetting, cmdCommSetting_Click);
  cmdForceUpdate_ = makeButton("cmdForceUpdate", frmMain.cmdForceUpdate, cmdForceUpdate_Click);
  cmdCancel_ = makeButton("cmdCancel", frmMain.cmdCancel, cmdCancel_Click);
  cmdNext_ = makeButton("cmdNext", frmMain.cmdNext, cmdNext_Click);
  cmdNext_->setDefault(true);

  auto* top = new QHBoxLayout;
  top->addWidget(fraProcess_, 1);
  top->addWidget(fraFWInfo_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdCommSetting_);
  buttons->addWidget(cmdForceUpdate_);
  buttons->addStretch();
  buttons->addWidget(cmdCancel_);
  buttons->addWidget(cmdNext_);
  auto* v = new QVBoxLayout(central);
  v->addLayout(top);
  v->addWidget(txtInfo_);
  v->addWidget(txtProcess_);
  v->addWidget(prgProcess_);
  v->addLayout(buttons);

  auto* sts = statusBar();
  sts->setObjectName("stsAppStatus");
  sts->setSizeGripEnabled(false);
  panel1_ = makeLabel(sts, "stsAppStatusPanel1");
  panel2_ = makeLabel(sts, "stsAppStatusPanel2");
  sts->addPermanentWidget(panel1_, 1);
  sts->addPermanentWidget(panel2_, 1);

  fitLines(txtInfo_);
  fitLines(txtProcess_);
  resize(kWindowWidth, kWindowHeight);
}

void MainWindow::mirror() {
  const FrmMain& f = frmMain;
  m_.title(this, f.caption);
  if (m_.font(this, f.fontName)) {
    fitLines(txtInfo_);
    fitLines(txtProcess_);
    resize(kWindowWidth, std::max(kWindowHeight, sizeHint().height()));
  }
  m_.group(fraProcess_, f.fraProcess);
  for (int i = 0; i < 8; ++i) m_.label(lblProcess_[i], f.lblProcess[i]);
  m_.plainText(txtInfo_, f.txtInfo.text);
  m_.plainText(txtProcess_, f.txtProcess.text, true);
  m_.progress(prgProcess_, f.prgProcess);
  m_.text(panel1_, f.stsAppStatus.panel1);
  m_.text(panel2_, f.stsAppStatus.panel2);
  m_.group(fraFWInfo_, f.fraFWInfo);
  for (auto [w, l] : {std::pair{lblFWFileTitle_, &f.lblFWFileTitle}, {lblFWFile_, &f.lblFWFile},
                      {lblFWOldTitle_, &f.lblFWOldTitle}, {lblFWOld_, &f.lblFWOld}, {lblFWTo_, &f.lblFWTo},
                      {lblFWNewTitle_, &f.lblFWNewTitle}, {lblFWNew_, &f.lblFWNew}})
    m_.label(w, *l);
  lblFWFile_->setToolTip(lblFWFile_->text());
  m_.button(cmdFWFileSel_, f.cmdFWFileSel);
  m_.button(cmdCommSetting_, f.cmdCommSetting);
  m_.button(cmdForceUpdate_, f.cmdForceUpdate);
  m_.button(cmdCancel_, f.cmdCancel);
  m_.button(cmdNext_, f.cmdNext);
}

void MainWindow::closeForQuit() {
  quitting_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (quitting_) {
    e->accept();
    return;
  }
  bool allowed = true;
  runProcedure([&] { allowed = frmMain_QueryUnload(); });
  if (!allowed) {
    e->ignore();
    return;
  }
  e->accept();
  // Closing the main window ends the program, modeless port dialog included.
  windows().quit();
}

}  // namespace vq::ui
