#include "platform/qt/console_platform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QThread>

namespace vq::qt {

namespace {
// As the window's platform: a yield this soon after the last one finds nothing new, and the
// image stage yields once per byte.
constexpr qint64 kYieldAgainNs = 200'000;
constexpr int kLangJapaneseId = 1041;
constexpr int kLangEnglishId = 1033;
}  // namespace

void ConsolePlatform::doEvents() {
  if (sinceEvents_.isValid() && sinceEvents_.nsecsElapsed() < kYieldAgainNs) return;
  QCoreApplication::processEvents();
  sinceEvents_.start();
}

void ConsolePlatform::waitEvents() {
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  sinceEvents_.start();
}

void ConsolePlatform::sleepMs(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void ConsolePlatform::messageBox(const std::string& text) {
  if (onMessage) onMessage(text);
}

std::string ConsolePlatform::openFileDialog(const std::string&, const std::string&) { return fileAnswer_; }

int ConsolePlatform::systemLanguage() {
  return QLocale::system().language() == QLocale::Japanese ? kLangJapaneseId : kLangEnglishId;
}

int ConsolePlatform::systemLangId() { return langId_ != 0 ? langId_ : systemLanguage(); }

std::string ConsolePlatform::deviceName(int comPort) {
  const QString path = map_.pathFor(comPort);
  return path.isEmpty() ? std::string() : QFileInfo(path).fileName().toStdString();
}

}  // namespace vq::qt
