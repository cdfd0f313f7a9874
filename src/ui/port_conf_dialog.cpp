#include "ui/port_conf_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "config/frm_port_conf.h"
#include "base/port_conf_rows.h"
#include "platform/qt/qt_platform.h"
#include "ui/main_window.h"

namespace vq::ui {

PortConfDialog::PortConfDialog(qt::QtPlatform& platform, QWidget* parent) : QDialog(parent), platform_(platform) {
  setObjectName("frmPortConf");
  setModal(false);
  fraPort_ = new QGroupBox(this);
  fraPort_->setObjectName("fraPort");
  for (std::size_t i = 0; i < kPortConfRows.size(); ++i) {
    titles_[i] = new QLabel(fraPort_);
    titles_[i]->setObjectName(kPortConfRows[i].title);
    lists_[i] = new QComboBox(fraPort_);
    lists_[i]->setObjectName(kPortConfRows[i].list);
    lists_[i]->setMinimumContentsLength(16);
    titles_[i]->setBuddy(lists_[i]);
    auto member = kPortConfRows[i].listModel;
    connect(lists_[i], &QComboBox::activated, this, [member](int index) { (frmPortConf.*member).listIndex = index; });
  }
  cmdSet_ = new QPushButton(this);
  cmdSet_->setObjectName("cmdSet");
  cmdCancel_ = new QPushButton(this);
  cmdCancel_->setObjectName("cmdCancel");
  connect(cmdSet_, &QPushButton::clicked, this, [this] { click(frmPortConf.cmdSet, frmPortConf_cmdSet_Click); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { click(frmPortConf.cmdCancel, frmPortConf_cmdCancel_Click); });
  placeControls(faceOf(frmPortConf.fontName));
}

void PortConfDialog::placeControls(Face face) {
  auto at = [face](std::string_view control) { return placeOf("frmPortConf", control, 0, face); };
  place(fraPort_, at("fraPort"));
  for (std::size_t i = 0; i < kPortConfRows.size(); ++i) {
    place(titles_[i], at(kPortConfRows[i].title));
    place(lists_[i], at(kPortConfRows[i].list));
  }
  place(cmdSet_, at("cmdSet"));
  place(cmdCancel_, at("cmdCancel"));
  // The size the dialog's procedures centre on the screen.
  setFixedSize(scaled(this, at("frmPortConf")).size());
}

void PortConfDialog::mirror() {
  const FrmPortConf& f = frmPortConf;
  m_.title(this, f.caption);
  if (m_.font(this, f.fontName)) placeControls(faceOf(f.fontName));
  m_.group(fraPort_, f.fraPort);
  for (std::size_t i = 0; i < kPortConfRows.size(); ++i) {
    m_.label(titles_[i], f.*kPortConfRows[i].titleModel);
    m_.combo(lists_[i], f.*kPortConfRows[i].listModel);
  }
  m_.button(cmdSet_, f.cmdSet);
  m_.button(cmdCancel_, f.cmdCancel);
  if (f.left != left_ || f.top != top_) {
    left_ = f.left;
    top_ = f.top;
    move(left_, top_);
  }
}

void PortConfDialog::click(const Button& model, void (*proc)()) {
  if (!runClick(model, proc)) return;
  if (!frmPortConf.open) dismiss();
  platform_.mirrorAll();
}

void PortConfDialog::dismiss() {
  if (dismissing_) return;
  dismissing_ = true;
  hide();
  deleteLater();
}

void PortConfDialog::reject() {
  // Escape acts as the close box.
  close();
}

void PortConfDialog::closeEvent(QCloseEvent* e) {
  if (!dismissing_) runProcedure(frmPortConf_QueryUnload);
  dismissing_ = true;
  e->accept();
  deleteLater();
}

}  // namespace vq::ui
