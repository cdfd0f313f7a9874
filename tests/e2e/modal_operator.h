// Answers the modal windows of the real program from a short timer: message boxes, the file
// dialog and any other dialog. Needs no QtTest, so the benchmark uses it too.
#pragma once
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace vq::e2e {

// Runs fn while a short timer plays the operator in every modal window that opens: message
// boxes are read and closed with OK, the file dialog gets fileAnswer, any other dialog goes to
// onDialog (or is cancelled).
class ModalOperator {
 public:
  QStringList messages;  // texts of the message boxes, in order
  QString fileAnswer;
  std::function<void(QDialog*)> onDialog;
  int fileDialogs = 0;

  void run(const std::function<void()>& fn) {
    QTimer timer;
    QWidget* handled = nullptr;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w || w == handled) return;
      handled = w;
      if (auto* box = qobject_cast<QMessageBox*>(w)) {
        messages << box->text();
        box->button(QMessageBox::Ok)->click();
      } else if (auto* files = qobject_cast<QFileDialog*>(w)) {
        ++fileDialogs;
        if (fileAnswer.isEmpty()) {
          files->reject();
        } else {
          // Typed into the file name field, as an operator would; selectFile() leaves a
          // focused field alone.
          if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) name->setText(fileAnswer);
          else files->selectFile(fileAnswer);
          static_cast<QDialog*>(files)->accept();  // what its Open button does
        }
      } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
        if (onDialog) onDialog(dialog);
        else dialog->reject();
      }
    });
    timer.start(20);
    fn();
  }
};

}  // namespace vq::e2e
