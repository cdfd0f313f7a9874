#include "ui/force_update_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/frm_force_update.h"
#include "platform/qt/qt_platform.h"
#include "ui/main_window.h"

namespace vq::ui {

ForceUpdateDialog::ForceUpdateDialog(qt::QtPlatform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform) {
  setObjectName("frmForceUpdate");
  setModal(true);
  auto label = [this](const char* name, bool explanation) {
    auto* l = new QLabel(this);
    l->setObjectName(name);
    if (explanation) {
      l->setWordWrap(true);
      l->setFrameShape(QFrame::StyledPanel);
      l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    return l;
  };
  lblModelTitle_ = label("lblModelTitle", false);
  txtModelInfo_ = label("txtModelInfo", true);
  cboModel_ = new QComboBox(this);
  cboModel_->setObjectName("cboModel");
  lblSerialTitle_ = label("lblSerialTitle", false);
  txtSerialInfo_ = label("txtSerialInfo", true);
  txtSerial_ = new QLineEdit(this);
  txtSerial_->setObjectName("txtSerial");
  lblModelTitle_->setBuddy(cboModel_);
  lblSerialTitle_->setBuddy(txtSerial_);
  lblSaved_ = label("lblSaved", false);
  lblSaved_->setWordWrap(true);
  cmdForget_ = new QPushButton(this);
  cmdForget_->setObjectName("cmdForget");
  cmdSet_ = new QPushButton(this);
  cmdSet_->setObjectName("cmdSet");
  cmdCancel_ = new QPushButton(this);
  cmdCancel_->setObjectName("cmdCancel");
  for (QPushButton* b : {cmdForget_, cmdSet_, cmdCancel_}) b->setAutoDefault(false);

  connect(cboModel_, &QComboBox::activated, this, [](int index) { frmForceUpdate.cboModel.listIndex = index; });
  connect(txtSerial_, &QLineEdit::textEdited, this,
          [](const QString& text) { frmForceUpdate.txtSerial.text = text.toStdString(); });
  connect(cmdForget_, &QPushButton::clicked, this,
          [this] { click(frmForceUpdate.cmdForget, frmForceUpdate_cmdForget_Click); });
  connect(cmdSet_, &QPushButton::clicked, this, [this] { click(frmForceUpdate.cmdSet, frmForceUpdate_cmdSet_Click); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { click(frmForceUpdate.cmdCancel, frmForceUpdate_cmdCancel_Click); });

  placeControls(faceOf(frmForceUpdate.fontName), Arrangement::NoSavedLine);
}

void ForceUpdateDialog::placeControls(Face face, Arrangement shown) {
  for (auto [w, name] : {std::pair<QWidget*, const char*>{lblModelTitle_, "lblModelTitle"}, {cboModel_, "cboModel"},
                         {txtModelInfo_, "txtModelInfo"}, {lblSerialTitle_, "lblSerialTitle"},
                         {txtSerial_, "txtSerial"}, {txtSerialInfo_, "txtSerialInfo"}, {cmdSet_, "cmdSet"},
                         {cmdCancel_, "cmdCancel"}})
    place(w, placeOf("frmForceUpdate", name, 0, face, shown));
  if (shown == Arrangement::SavedLine) {
    place(lblSaved_, placeOf("frmForceUpdate", "lblSaved", 0, face, shown));
    place(cmdForget_, placeOf("frmForceUpdate", "cmdForget", 0, face, shown));
  }
  setFixedSize(scaled(this, placeOf("frmForceUpdate", "frmForceUpdate", 0, face, shown)).size());
}

void ForceUpdateDialog::mirror() {
  const FrmForceUpdate& f = frmForceUpdate;
  m_.title(this, f.caption);
  const bool newFace = m_.font(this, f.fontName);
  m_.label(lblModelTitle_, f.lblModelTitle);
  m_.text(txtModelInfo_, f.txtModelInfo.text);
  m_.combo(cboModel_, f.cboModel);
  m_.label(lblSerialTitle_, f.lblSerialTitle);
  m_.text(txtSerialInfo_, f.txtSerialInfo.text);
  m_.lineEdit(txtSerial_, f.txtSerial.text);
  m_.label(lblSaved_, f.lblSaved);
  m_.button(cmdForget_, f.cmdForget);
  m_.button(cmdSet_, f.cmdSet);
  m_.button(cmdCancel_, f.cmdCancel);
  // The saved-update line takes room only while it is shown.
  const Arrangement shown = f.lblSaved.visible ? Arrangement::SavedLine : Arrangement::NoSavedLine;
  if (newFace || shown != shown_) {
    shown_ = shown;
    placeControls(faceOf(f.fontName), shown);
  }
}

void ForceUpdateDialog::click(const Button& model, void (*proc)()) {
  if (!runClick(model, proc)) return;
  platform_.mirrorAll();
  if (!frmForceUpdate.open && !closing_) {
    closing_ = true;
    accept();
  }
}

void ForceUpdateDialog::reject() {
  if (!closing_) {
    closing_ = true;
    runProcedure(frmForceUpdate_QueryUnload);
  }
  QDialog::reject();
}

}  // namespace vq::ui
