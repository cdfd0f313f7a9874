#include "ui/qt_windows.h"

#include <QCoreApplication>

#include "config/frm_port_conf.h"
#include "ui/force_update_dialog.h"
#include "ui/main_window.h"
#include "ui/mirror.h"
#include "ui/port_conf_dialog.h"

namespace vq::ui {

namespace {
// A stage may refresh for every block it writes; painting the window each time would cost
// more than the writing. Paint now at most this often, otherwise at the next yield.
constexpr qint64 kRepaintEveryMs = 100;
}  // namespace

QtWindows::QtWindows(qt::QtPlatform& platform, MainWindow& main) : platform_(platform), main_(main) {
  platform_.setFrontEnd(&main_, [this] { mirrorAll(); });
}

QtWindows::~QtWindows() { platform_.setFrontEnd(nullptr, nullptr); }

void QtWindows::mirrorAll() {
  main_.mirror();
  if (portConf_) portConf_->mirror();
  if (forceUpdate_) forceUpdate_->mirror();
}

void QtWindows::refresh() {
  platform_.mirrorAll();
  if (sinceRepaint_.isValid() && sinceRepaint_.elapsed() < kRepaintEveryMs) {
    main_.update();
    return;
  }
  sinceRepaint_.start();
  main_.repaint();
}

void QtWindows::showForceUpdateDialog() {
  // cmdForceUpdate_Click has loaded the model; it stays open until a procedure or the close
  // box closes it.
  ForceUpdateDialog dialog(platform_, &main_);
  forceUpdate_ = &dialog;
  dialog.mirror();
  dialog.exec();
  forceUpdate_ = nullptr;
  platform_.mirrorAll();
}

void QtWindows::showPortConfDialog() {
  // subSetPort has loaded the model; it stays open until a procedure or the close box closes it.
  frmPortConf.open = true;
  if (portConf_) portConf_->dismiss();
  portConf_ = new PortConfDialog(platform_, &main_);
  portConf_->mirror();
  portConf_->show();
  portConf_->raise();
  portConf_->activateWindow();
}

void QtWindows::closePortConfDialog() {
  // May be called from the dialog's own button: hide now, delete once back in the event loop.
  if (portConf_) portConf_->dismiss();
  portConf_ = nullptr;
}

void QtWindows::quit() {
  quitting_ = true;
  closePortConfDialog();
  main_.closeForQuit();
  QCoreApplication::quit();
}

}  // namespace vq::ui
