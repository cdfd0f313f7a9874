// frmForceUpdate rendered as a modal dialog.
#pragma once
#include <QDialog>

#include "base/form_layout.h"
#include "ui/mirror.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vq::qt {
class QtPlatform;
}

namespace vq::ui {

class ForceUpdateDialog : public QDialog {
  Q_OBJECT
 public:
  ForceUpdateDialog(qt::QtPlatform& platform, QWidget* parent);
  void mirror();

 protected:
  void reject() override;  // the close box and Escape

 private:
  void click(const Button& model, void (*proc)());
  void placeControls(Face face, Arrangement shown);

  qt::QtPlatform& platform_;
  Mirror m_;
  QLabel* lblModelTitle_;
  QLabel* txtModelInfo_;
  QComboBox* cboModel_;
  QLabel* lblSerialTitle_;
  QLabel* txtSerialInfo_;
  QLineEdit* txtSerial_;
  QLabel* lblSaved_;
  QPushButton* cmdForget_;
  QPushButton* cmdSet_;
  QPushButton* cmdCancel_;
  Arrangement shown_ = Arrangement::NoSavedLine;
  bool closing_ = false;
};

}  // namespace vq::ui
