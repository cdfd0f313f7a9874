#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QThread>

#include "platform/native/console_platform.h"

namespace vq::qt {

namespace {
// Models are copied into the windows at most this often from doEvents()/waitEvents(): a loop
// may yield a hundred thousand times, and an empty processEvents() costs only ~0.5 µs, while
// re-laying out the progress text costs far more. Ten times a second keeps the progress live
// and step 5's CPU share under 5 %.
constexpr qint64 kMirrorEveryMs = 100;
// A yield this soon after the last one finds nothing new for the window to do; skipping it
// saves the event loop's system calls, which the flash's thousand exchanges would pay for.
constexpr qint64 kYieldAgainNs = 200'000;
// Between yields (the event loop idle) changes are picked up this often.
constexpr int kIdleMirrorMs = 50;
}  // namespace

QString displayText(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

QtPlatform::QtPlatform(const native::ComPortMap& map) : map_(map) {
  sinceMirror_.start();
  idleMirror_.setInterval(kIdleMirrorMs);
  QObject::connect(&idleMirror_, &QTimer::timeout, [this] { mirrorIfDue(); });
  idleMirror_.start();
}

QtPlatform::~QtPlatform() {
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtPlatform::setFrontEnd(QWidget* mainWindow, std::function<void()> mirror) {
  main_ = mainWindow;
  mirror_ = std::move(mirror);
}

void QtPlatform::mirrorAll() {
  sinceMirror_.restart();
  if (mirror_) mirror_();
}

void QtPlatform::mirrorIfDue() {
  if (sinceMirror_.elapsed() >= kMirrorEveryMs) mirrorAll();
}

void QtPlatform::doEvents() {
  if (sinceEvents_.isValid() && sinceEvents_.nsecsElapsed() < kYieldAgainNs) return;
  QCoreApplication::processEvents();
  sinceEvents_.start();
  mirrorIfDue();
}

void QtPlatform::waitEvents() {
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  sinceEvents_.start();
  mirrorIfDue();
}

void QtPlatform::sleepMs(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

namespace {
// The application's plain box over the window in front, with the system's text.
void prepareBox(QMessageBox& box, const std::string& text, const char* name) {
  box.setObjectName(name);
  box.setIcon(QMessageBox::NoIcon);
  box.setWindowTitle(QGuiApplication::applicationDisplayName());
  box.setTextFormat(Qt::PlainText);
  box.setText(displayText(text));
}
}  // namespace

void QtPlatform::messageBox(const std::string& text) {
  mirrorAll();
  QMessageBox box(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : main_);
  prepareBox(box, text, "messageBox");
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

bool QtPlatform::askYesNo(const std::string& text) {
  mirrorAll();
  QMessageBox box(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : main_);
  prepareBox(box, text, "questionBox");
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

std::string QtPlatform::openFileDialog(const std::string& description, const std::string& pattern) {
  mirrorAll();
  if (fileAnswer_) return *fileAnswer_;
  const QString filter = QString::fromStdString(description + " (" + pattern + ")");
  const QString path = QFileDialog::getOpenFileName(main_, QString(), QString(), filter);
  return path.toStdString();
}

int QtPlatform::systemLangId() {
#ifdef Q_OS_WIN
  // As vq-update-cli asks Windows: the system's default language (GetSystemDefaultLangID).
  return native::ConsolePlatform::systemLanguage();
#else
  return QLocale::system().language() == QLocale::Japanese ? 1041 : 1033;
#endif
}

void QtPlatform::setBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

int QtPlatform::screenWidth() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->size().width() : 0;
}

int QtPlatform::screenHeight() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->size().height() : 0;
}

std::string QtPlatform::deviceName(int comPort) { return map_.deviceName(comPort); }

}  // namespace vq::qt
