// The application every program that shows vq-update's window in a test or benchmark starts
// with: the language forced through the locale, the name vq-update gives itself, and the
// offscreen platform's noise filtered out.
#pragma once
#include <QApplication>
#include <QByteArray>

namespace vq::test {

class QtTestApp : public QApplication {
 public:
  // locale: "en_US.UTF-8" for English whatever the machine's locale, "ja_JP.UTF-8" for a
  // Japanese system.
  QtTestApp(int& argc, char** argv, const QByteArray& locale = "en_US.UTF-8")
      : QApplication(prepare(locale, argc), argv) {
    setApplicationName("vq-update");
  }

 private:
  // Runs before QApplication's constructor: the language is read from the locale as the
  // application starts.
  static int& prepare(const QByteArray& locale, int& argc) {
    // The offscreen platform complains about every resize and raise; nothing to learn from that.
    // QTest::qExec puts its own handler in place of this one while the tests run.
    static const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
      if (!msg.contains("propagateSizeHints") && !msg.contains("support raise")) previous(type, context, msg);
    });
    qputenv("LANG", locale);
    qputenv("LC_ALL", locale);
    qunsetenv("LC_MESSAGES");
    qunsetenv("LANGUAGE");
    return argc;
  }
};

}  // namespace vq::test
