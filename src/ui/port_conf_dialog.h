// frmPortConf rendered as a modeless dialog.
#pragma once
#include <array>

#include <QDialog>

#include "base/form_layout.h"
#include "ui/mirror.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vq::qt {
class QtPlatform;
}

namespace vq::ui {

class PortConfDialog : public QDialog {
  Q_OBJECT
 public:
  PortConfDialog(qt::QtPlatform& platform, QWidget* parent);
  void mirror();
  // Closes without asking the model (the model already closed it).
  void dismiss();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;

 private:
  void click(const Button& model, void (*proc)());
  void placeControls(Face face);

  qt::QtPlatform& platform_;
  Mirror m_;
  QGroupBox* fraPort_;
  std::array<QLabel*, 7> titles_{};
  std::array<QComboBox*, 7> lists_{};
  QPushButton* cmdSet_;
  QPushButton* cmdCancel_;
  int left_ = -1, top_ = -1;
  bool dismissing_ = false;
};

}  // namespace vq::ui
