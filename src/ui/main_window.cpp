#include "ui/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "app/frm_main.h"
#include "base/forms.h"
#include "platform/app_windows.h"
#include "platform/qt/qt_platform.h"

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

QLabel* makeLabel(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  return l;
}

QPlainTextEdit* makeTextBox(QWidget* parent, const char* name) {
  auto* t = new QPlainTextEdit(parent);
  t->setObjectName(name);
  t->setReadOnly(true);
  // The mirror edits the text in place; an undo history would only grow.
  t->setUndoRedoEnabled(false);
  t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  t->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  return t;
}

}  // namespace

QPushButton* MainWindow::makeButton(QWidget* parent, const char* name, const Button& model, void (*click)()) {
  auto* b = new QPushButton(parent);
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

  // Created in the order Tab walks them.
  fraProcess_ = new QGroupBox(central);
  fraProcess_->setObjectName("fraProcess");
  static const char* const kStepNames[8] = {"lblProcess01", "lblProcess02", "lblProcess03", "lblProcess04",
                                            "lblProcess05", "lblProcess06", "lblProcess07", "lblProcess08"};
  for (int i = 0; i < 8; ++i) lblProcess_[i] = makeLabel(fraProcess_, kStepNames[i]);

  fraFWInfo_ = new QGroupBox(central);
  fraFWInfo_->setObjectName("fraFWInfo");
  lblFWFileTitle_ = makeLabel(fraFWInfo_, "lblFWFileTitle");
  lblFWFile_ = makeLabel(fraFWInfo_, "lblFWFile");
  lblFWFile_->setFrameShape(QFrame::StyledPanel);
  lblFWFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cmdFWFileSel_ = makeButton(fraFWInfo_, "cmdFWFileSel", frmMain.cmdFWFileSel, cmdFWFileSel_Click);
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

  txtInfo_ = makeTextBox(central, "txtInfo");
  txtProcess_ = makeTextBox(central, "txtProcess");
  prgProcess_ = new FlatProgressBar(central);
  prgProcess_->setObjectName("prgProcess");
  prgProcess_->setTextVisible(false);

  cmdCommSetting_ = makeButton(central, "cmdCommSetting", frmMain.cmdCommSetting, cmdCommSetting_Click);
  cmdForceUpdate_ = makeButton(central, "cmdForceUpdate", frmMain.cmdForceUpdate, cmdForceUpdate_Click);
  cmdCancel_ = makeButton(central, "cmdCancel", frmMain.cmdCancel, cmdCancel_Click);
  cmdNext_ = makeButton(central, "cmdNext", frmMain.cmdNext, cmdNext_Click);
  cmdNext_->setDefault(true);

  auto* sts = statusBar();
  sts->setObjectName("stsAppStatus");
  sts->setSizeGripEnabled(false);
  panel1_ = makeLabel(sts, "stsAppStatusPanel1");
  panel2_ = makeLabel(sts, "stsAppStatusPanel2");
  sts->addPermanentWidget(panel1_, 1);
  sts->addPermanentWidget(panel2_, 1);

  placeControls(faceOf(frmMain.fontName));
}

void MainWindow::placeControls(Face face) {
  auto at = [face](std::string_view control, int index = 0) { return placeOf("frmMain", control, index, face); };
  place(fraProcess_, at("fraProcess"));
  for (int i = 0; i < 8; ++i) place(lblProcess_[i], at("lblProcess", i + 1));
  place(fraFWInfo_, at("fraFWInfo"));
  for (auto [w, name] : {std::pair<QWidget*, const char*>{lblFWFileTitle_, "lblFWFileTitle"}, {lblFWFile_, "lblFWFile"},
                         {cmdFWFileSel_, "cmdFWFileSel"}, {lblFWOldTitle_, "lblFWOldTitle"}, {lblFWOld_, "lblFWOld"},
                         {lblFWTo_, "lblFWTo"}, {lblFWNewTitle_, "lblFWNewTitle"}, {lblFWNew_, "lblFWNew"},
                         {txtInfo_, "txtInfo"}, {txtProcess_, "txtProcess"}, {prgProcess_, "prgProcess"},
                         {cmdCommSetting_, "cmdCommSetting"}, {cmdForceUpdate_, "cmdForceUpdate"},
                         {cmdCancel_, "cmdCancel"}, {cmdNext_, "cmdNext"}})
    place(w, at(name));
  // The main window keeps the status bar at its bottom edge and the panels in their order: the
  // table gives the bar its height and the panels their widths.
  statusBar()->setFixedHeight(scaled(this, at("stsAppStatus")).height());
  panel1_->setFixedWidth(scaled(this, at("stsAppStatusPanel", 1)).width());
  panel2_->setFixedWidth(scaled(this, at("stsAppStatusPanel", 2)).width());
  setFixedSize(scaled(this, at("frmMain")).size());
}

void MainWindow::mirror() {
  const FrmMain& f = frmMain;
  m_.title(this, f.caption);
  if (m_.font(this, f.fontName)) placeControls(faceOf(f.fontName));
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
