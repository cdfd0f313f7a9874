// vq-update.exe, the Win32 window of the Windows build, under Wine against vq-sim, driven by
// window_operator.exe (a Win32 program in the same prefix that finds the windows and controls
// by their texts, reads them and clicks), under an Xvfb of the test's own. The pseudo-terminal
// is COM5 (a link in the prefix's dosdevices). Wine leaves a pseudo-terminal at 38400 for the
// rates it does not know, so the operator sets the link to 115200 and writing to 38400 in the
// port dialog, as a field engineer would set the port. The screen is saved at every step into
// wine-window-shots/ROW/ of the build folder: look at them, a text check passes on boxes too.
// Skipped without the Windows build (make windows).
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "e2e/sim_process.h"
#include "e2e/update_walk.h"

using namespace vq::e2e;

namespace {

constexpr int kCom = 5;

QString windowsDir() { return QFileInfo(QStringLiteral(VQ_WINDOWS_CLI_PATH)).absolutePath(); }
QString windowExe() { return windowsDir() + "/vq-update.exe"; }
QString operatorExe() { return windowsDir() + "/window_operator.exe"; }
QString prefix() { return QStringLiteral(VQ_WINEPREFIX) + "-window"; }
QString winPath(const QString& unixPath) { return QString("Z:" + unixPath).replace('/', '\\'); }

QString stateDir() {
  return prefix() + "/drive_c/users/" + qEnvironmentVariable("USER", "root") + "/AppData/Local/vq-update";
}

bool pointCom(const QString& target) {
  const QString link = prefix() + "/dosdevices/com" + QString::number(kCom);
  QFile::remove(link);
  return target.isEmpty() || QFile::link(target, link);
}

// The texts the operator reads and clicks, in the window's language.
struct Words {
  QString locale, tag, next, end, comm, set, forced, settings;
  QString step2Done, step3, step4, step5Done, step6, step7Done, step8, writeFailed, refused;
};

const Words kEnglish{"en_US.UTF-8", "en", "Next ->", "End", "Comm settings", "Set", "Forced  update", "Settings",
                     "Getting the parameters before update has been completed.", "3. Checking the version of firmware",
                     "4. Preparation for firmware update", "The firmware update is completed.",
                     "6. Preparation for updating parameters", "Updating parameters completed.",
                     "8. Completion of updating work", "Timeout occurs when updating process.",
                     "Incorrect communication setting."};
const Words kJapanese{"ja_JP.UTF-8", "ja", "次へ ＞", "終了", "通信設定", "設定", "強制更新", "設定",
                      "更新前パラメーターの取得が完了しました。", "３．ファームウェアのバージョン確認",
                      "４．ファームウェアの更新準備", "更新作業が終了しました。", "６．パラメーターの更新準備",
                      "パラメーター書き込み完了", "８．更新作業の終了", "", "通信設定が正しくありません"};

// The port dialog: COM5, the link at 115200, writing at 38400.
QStringList choosePort(const Words& w) {
  return {"window VQ SYSTEM", "click " + w.comm, "window " + w.comm, "select 0 COM" + QString::number(kCom),
          "select 1 115200", "select 2 38400", "shot port-" + w.tag, "click " + w.set, "gone", "window VQ SYSTEM"};
}

QStringList chooseFile(const QString& file) {
  return {"click ...", "dialog", "type 0 " + winPath(file), "ok", "window VQ SYSTEM", "wait Ver.1.2.0"};
}

QStringList step(const Words& w, const QString& waitFor, const QString& shot) {
  return {"click " + w.next, "wait " + waitFor, "enabled " + w.next, "shot " + shot};
}

// From step 4 to the end: step 5 (a picture while it writes), 6, 7, 8 and End.
QStringList fromStep4(const Words& w) {
  // The close box while step 5 writes is refused: the window stays and the step goes on.
  return QStringList{"click " + w.next, "status WRITE DATA SEND", "close", "progress 50", "shot step5-mid-" + w.tag, "wait " + w.step5Done,
                     "enabled " + w.next, "shot step5-" + w.tag} +
         step(w, w.step6, "step6-" + w.tag) + step(w, w.step7Done, "step7-" + w.tag) +
         QStringList{"click " + w.next, "wait " + w.step8, "enabled " + w.end, "shot step8-" + w.tag, "click " + w.end,
                     "gone"};
}

QStringList wholeUpdate(const Words& w, const QString& file) {
  return QStringList{"window VQ SYSTEM", "shot step1-" + w.tag} + choosePort(w) + chooseFile(file) +
         step(w, w.step2Done, "step2-" + w.tag) + step(w, w.step3, "step3-" + w.tag) +
         step(w, w.step4, "step4-" + w.tag) + fromStep4(w);
}

struct Played {
  int operatorExit = -1, windowExit = -1;
  QString out;
  qint64 ms = 0;
};

}  // namespace

class WineWindowE2eTest : public QObject {
  Q_OBJECT

  QProcess xvfb_;
  QString display_;

  QProcessEnvironment wineEnvironment(const QString& locale) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("WINEPREFIX", prefix());
    env.insert("WINEARCH", "win64");
    env.insert("WINEDEBUG", "-all");
    env.insert("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    env.insert("DISPLAY", display_);
    env.insert("LC_ALL", locale);  // Wine's system language: 1041 for ja_JP
    return env;
  }

  // Runs the window and the operator's script; the operator's SHOT and SIM lines answered.
  Played play(const QStringList& args, const Words& w, const QStringList& script, SimProcess& sim, const QString& row) {
    Played r;
    QTemporaryDir dir;
    QFile f(dir.filePath("script.txt"));
    if (!f.open(QIODevice::WriteOnly)) return r;
    f.write(script.join('\n').toUtf8() + '\n');
    f.close();
    const QString shots = QDir::current().filePath("wine-window-shots/" + row);
    QDir(shots).removeRecursively();
    QDir().mkpath(shots);

    QElapsedTimer clock;
    clock.start();
    QProcess window;
    window.setProcessEnvironment(wineEnvironment(w.locale));
    window.start("wine", QStringList{windowExe()} + args);
    QProcess op;
    op.setProcessEnvironment(wineEnvironment(w.locale));
    op.setProcessChannelMode(QProcess::MergedChannels);
    op.start("wine", {operatorExe(), winPath(f.fileName())});
    QByteArray pending;
    while (op.state() != QProcess::NotRunning || op.bytesAvailable()) {
      op.waitForReadyRead(200);
      pending += op.readAll();
      for (int nl; (nl = pending.indexOf('\n')) >= 0;) {
        const QString line = QString::fromUtf8(pending.left(nl)).trimmed();
        pending.remove(0, nl + 1);
        r.out += line + '\n';
        if (line.startsWith("SHOT ")) {
          QProcess shot;
          QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
          env.insert("DISPLAY", display_);
          shot.setProcessEnvironment(env);
          shot.start("import", {"-window", "root", shots + "/" + line.mid(5) + ".png"});
          shot.waitForFinished(20000);
          op.write("ok\n");
        } else if (line == "SIM unlink") {
          // The test's own: the COM port's link goes, vq-sim is not told.
          op.write(pointCom(QString()) ? "ok\n" : "refused\n");
        } else if (line.startsWith("SIM ")) {
          const QString answer = sim.control(line.mid(4));
          op.write((answer.startsWith("ok") ? QByteArray("ok\n") : ("refused " + answer.toUtf8() + "\n")));
        }
      }
      if (clock.elapsed() > 600000) op.kill();
    }
    r.operatorExit = op.exitStatus() == QProcess::NormalExit ? op.exitCode() : -1;
    if (!window.waitForFinished(30000)) {
      window.kill();
      window.waitForFinished(5000);
    }
    r.ms = clock.elapsed();
    r.windowExit = window.exitStatus() == QProcess::NormalExit ? window.exitCode() : -1;
    r.out += QString::fromUtf8(window.readAll());
    return r;
  }

  void killWine() {
    QProcess k;
    k.setProcessEnvironment(wineEnvironment("en_US.UTF-8"));
    k.start("wineserver", {"-k"});
    k.waitForFinished(20000);
  }

 private slots:
  void initTestCase() {
    if (!QFileInfo::exists(windowExe()) || !QFileInfo::exists(operatorExe())) QSKIP("no Windows build (make windows)");
    const QString source = QFileInfo(QStringLiteral(VQ_WINDOWS_CLI_PATH)).absolutePath() + "/..";
    QProcess setup;
    setup.setProcessChannelMode(QProcess::MergedChannels);
    setup.start(source + "/tests/wine/window_prefix.sh", {prefix()});
    QVERIFY(setup.waitForFinished(120000));
    QVERIFY2(setup.exitCode() == 0, setup.readAll().constData());
    // A display of our own: Xvfb says its number on the descriptor given.
    xvfb_.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    QVERIFY(xvfb_.waitForReadyRead(20000));
    display_ = ":" + QString::fromLatin1(xvfb_.readLine()).trimmed();
  }

  // Whatever a failed row left running in the prefix goes before the next row starts.
  void cleanup() { killWine(); }

  void cleanupTestCase() {
    killWine();
    if (xvfb_.state() != QProcess::NotRunning) {
      xvfb_.terminate();
      xvfb_.waitForFinished(5000);
    }
  }

  // The loop inside the system's modal loops: the window's own suite, on this display.
  void modalLoops() {
    QProcess suite;
    suite.setProcessEnvironment(wineEnvironment("en_US.UTF-8"));
    suite.setProcessChannelMode(QProcess::MergedChannels);
    suite.start("wine", {windowsDir() + "/win32ui_tests.exe"});
    QVERIFY(suite.waitForFinished(120000));
    QVERIFY2(suite.exitCode() == 0, suite.readAll().constData());
  }

  // The installer from make windows: silent, per machine, the Start-menu entry starts the
  // window, the uninstaller listed in Apps takes everything away again.
  void installer() {
    const QString dist = windowsDir() + "/../dist";
    const QStringList setups = QDir(dist).entryList({"vq-update-setup-*.exe"});
    if (setups.isEmpty()) QSKIP("no installer (make windows)");
    const QString programs = prefix() + "/drive_c/Program Files/vq-update";
    const QString shortcut = prefix() + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/vq-update.lnk";
    const QProcessEnvironment env = wineEnvironment("en_US.UTF-8");
    auto wine = [&](const QStringList& args, QString* out = nullptr) {
      QProcess p;
      p.setProcessEnvironment(env);
      p.start("wine", args);
      const bool ok = p.waitForFinished(120000) && p.exitCode() == 0;
      if (out) *out = QString::fromUtf8(p.readAllStandardOutput());
      return ok;
    };
    QVERIFY(wine({dist + "/" + setups.last(), "/S"}));
    for (const char* f : {"vq-update.exe", "vq-update-cli.exe", "README-windows.txt", "LICENSE.txt", "uninstall.exe"})
      QVERIFY2(QFileInfo::exists(programs + "/" + f), f);
    QVERIFY(QFileInfo::exists(shortcut));
    QString out;
    QVERIFY(wine({"reg", "query", "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vq-update"}, &out));
    QVERIFY2(out.contains("UninstallString") && out.contains("vq-update 1.1.0"), qPrintable(out));
    QVERIFY(wine({programs + "/vq-update.exe", "--version"}, &out));
    QCOMPARE(out.trimmed(), QString("vq-update 1.1.0"));

    // The Start-menu entry opens the window; the operator closes it.
    QProcess start;
    start.setProcessEnvironment(env);
    start.start("wine", {"start", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\vq-update.lnk"});
    QVERIFY(start.waitForFinished(60000));
    QTemporaryDir dir;
    QFile script(dir.filePath("script.txt"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("window VQ SYSTEM\nclose\ngone\n");
    script.close();
    QVERIFY(wine({operatorExe(), winPath(script.fileName())}, &out));

    // The uninstaller copies itself away and returns at once: wait for its work.
    QVERIFY(wine({programs + "/uninstall.exe", "/S"}));
    for (int i = 0; i < 100 && QFileInfo::exists(programs); ++i) QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(programs));
    QVERIFY(!QFileInfo::exists(shortcut));
    QVERIFY(!wine({"reg", "query", "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\vq-update"}));
  }

  void update_data() {
    QTest::addColumn<QString>("language");     // en, ja
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("script");       // whole, fail5, forced, missing
    QTest::addColumn<QString>("flashed");
    QTest::addColumn<QString>("identity");     // "MODEL|SERIAL" the instrument ends with
    const QStringList sim{"--switch", "auto", "--link-settings", "115200,O,8,1"};
    const QString kept = "VQA-7001| 13579";
    QTest::newRow("whole update, English") << "en" << sim << "whole" << "yes" << kept;
    QTest::newRow("whole update, Japanese") << "ja" << sim << "whole" << "yes" << kept;
    QTest::newRow("step 5 fails, the retry completes")
        << "en" << sim + QStringList{"--fault", "wdata#10:drop"} << "fail5" << "yes" << kept;
    QTest::newRow("forced update") << "en" << sim << "forced" << "yes" << "VQA-7000| 24680";
    QTest::newRow("a port gone after it was chosen") << "en" << sim << "missing" << "no" << kept;
    QTest::newRow("4 data bits refused when the port opens") << "ja" << sim << "refused" << "no" << kept;
  }

  void update() {
    QFETCH(QString, language);
    QFETCH(QStringList, simArgs);
    QFETCH(QString, script);
    QFETCH(QString, flashed);
    QFETCH(QString, identity);
    const Words& w = language == "ja" ? kJapanese : kEnglish;

    SimProcess sim;
    const QString file = startInstrument(sim, simArgs);
    QVERIFY2(!file.isEmpty(), qPrintable(sim.error()));
    QVERIFY(QDir(stateDir()).removeRecursively());
    QVERIFY(pointCom(sim.linkPath()));

    QStringList lines;
    if (script == "whole") {
      lines = wholeUpdate(w, file);
    } else if (script == "fail5") {
      // The failure's box, then the wizard back on step 4: Next retries step 5.
      lines = QStringList{"window VQ SYSTEM"} + choosePort(w) + chooseFile(file) + step(w, w.step2Done, "step2-en") +
              step(w, w.step3, "step3-en") + step(w, w.step4, "step4-en") +
              QStringList{"click " + w.next, "timeout 120", "box " + w.writeFailed, "shot failed-box-en", "click OK",
                          "window VQ SYSTEM", "enabled " + w.next, "shot back-to-step4-en", "sim fault clear",
                          "sim power"} +
              fromStep4(w);
    } else if (script == "forced") {
      // A wrong serial number refused with its box, then the identity typed in: step 3 next.
      lines = QStringList{"window VQ SYSTEM"} + choosePort(w) + chooseFile(file) +
              QStringList{"click " + w.forced, "window Forced update config", "select 0 VQA-7000", "type 0 2468",
                          "click " + w.settings, "box wrong number of digits", "shot forced-refused-en", "click OK",
                          "window Forced update config", "type 0 24680", "shot forced-en", "click " + w.settings,
                          "gone", "window VQ SYSTEM", "wait " + w.step3, "enabled " + w.next, "shot step3-forced-en"} +
              step(w, w.step4, "step4-en") + fromStep4(w);
    } else if (script == "refused") {
      // The dialog takes any entry of its lists; the port refuses 4 data bits once step 2 opens it.
      lines = QStringList{"window VQ SYSTEM"} + choosePort(w) +
              QStringList{"click " + w.comm, "window " + w.comm, "select 4 4", "click " + w.set, "gone",
                          "window VQ SYSTEM"} +
              chooseFile(file) +
              QStringList{"click " + w.next, "box " + w.refused, "shot refused-box-" + w.tag, "click OK",
                          "window VQ SYSTEM", "enabled " + w.next, "close", "gone"};
    } else {
      // COM5 chosen, then gone before Next: step 2's box, the cause below the progress lines.
      lines = QStringList{"window VQ SYSTEM"} + choosePort(w) + chooseFile(file) +
              QStringList{"sim unlink", "click " + w.next, "box Unable to initiate the communication.", "shot missing-box-en", "click OK",
                          "window VQ SYSTEM", "wait COM5", "enabled " + w.next, "shot missing-en", "close", "gone"};
    }
    const QString row = QString(QTest::currentDataTag()).replace(QRegularExpression("[^A-Za-z0-9]+"), "-");
    const Played r = play({}, w, lines, sim, row);
    qInfo("%s: %lld ms", qPrintable(row), r.ms);
    QVERIFY2(r.operatorExit == 0, qPrintable(r.out));
    QVERIFY2(r.windowExit == 0, qPrintable(QString("window exit %1\n").arg(r.windowExit) + r.out));

    QVERIFY2(sim.stop(), qPrintable(sim.error()));
    const SimReport rep = sim.readReport();
    QVERIFY2(rep["violations"] == "0", qPrintable(rep.linesStarting("violation ").join('\n')));
    QCOMPARE(rep["flash_matches_update_file"], flashed);
    QCOMPARE(rep["model"], identity.section('|', 0, 0));
    QCOMPARE(rep["serial"], identity.section('|', 1));
    // The setting read in step 2 goes back in step 7 (a forced update has not read it).
    if (script != "forced") QCOMPARE(rep["cmd04"], QString("9"));
    pointCom(QString());
  }

};

QTEST_GUILESS_MAIN(WineWindowE2eTest)
#include "wine_window_e2e_test.moc"
