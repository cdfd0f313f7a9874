// The whole update in Japanese: a system whose language is Japanese gets the Japanese texts,
// and the update ends as in English. Its own program because the system language is read
// once, when the application starts.
#include <QLabel>
#include <QTest>

#include "e2e/update_walk.h"
#include "support/qt_test_app.h"

using namespace vq;
using namespace vq::e2e;

class UpdateJaE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void wholeUpdateInJapanese() {
    Rig r;
    WALK(r.start());
    QCOMPARE(int(gLangId), 1041);
    QCOMPARE(r.op->label("lblProcess01"), QString::fromUtf8("１．開始"));
    WALK(r.readParameters());
    WALK(r.completeFromStepTwo(textsFor(true)));
  }

  void failureMessageInJapanese() {
    Rig r;
    WALK(r.start());
    QVERIFY(r.sim.ok("fault silent"));
    bool clicked = false;
    const QStringList shown = r.op->next(&clicked);
    QVERIFY(clicked);
    QCOMPARE(shown.size(), 1);
    const QStringList lines = shown[0].split('\n');
    QCOMPARE(lines.value(0), QString::fromUtf8("通信で過剰なリトライが発生しました。"));
    // Its lines are indented with the ideographic space.
    QVERIFY2(lines.value(2).startsWith(QChar(0x3000)), qPrintable(shown[0]));
    QCOMPARE(r.op->boldStep(), 1);
  }
};

int main(int argc, char** argv) {
  vq::test::QtTestApp app(argc, argv, "ja_JP.UTF-8");
  UpdateJaE2eTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "update_ja_e2e_test.moc"
