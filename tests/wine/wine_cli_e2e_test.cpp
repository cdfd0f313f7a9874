// vq-update-cli.exe, the Windows build, under Wine against vq-sim on a pseudo-terminal that
// Wine sees as COM33 (a link in the prefix's dosdevices; Wine keeps the low numbers for
// /dev/ttyS*). Wine on a pseudo-terminal takes 307200, 153600, 76800 and 31250 baud but leaves
// the line at 38400, and has no modem lines: the rows run the link at 115200 and write at
// 9600 and 38400. One table; each row starts its own simulator. Skipped when the Windows
// build (make windows) is not there.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include "e2e/operator_script.h"
#include "e2e/sim_process.h"
#include "e2e/update_walk.h"

using namespace vq::e2e;

namespace {

constexpr int kCom = 33;

QString windowsCli() { return QStringLiteral(VQ_WINDOWS_CLI_PATH); }
QString portHolder() { return QFileInfo(windowsCli()).absolutePath() + "/port_holder.exe"; }
QString prefix() { return QStringLiteral(VQ_WINEPREFIX); }

// %LOCALAPPDATA%\vq-update inside the prefix: Wine sets LOCALAPPDATA itself.
QString stateDir() {
  const QString user = qEnvironmentVariable("USER", "root");
  return prefix() + "/drive_c/users/" + user + "/AppData/Local/vq-update";
}

QProcessEnvironment wineEnvironment(const QString& locale) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("WINEPREFIX", prefix());
  env.insert("WINEARCH", "win64");
  env.insert("WINEDEBUG", "-all");
  env.insert("WINEDLLOVERRIDES", "mscoree,mshtml=");
  // Wine's system language follows the locale: 1041 for ja_JP.
  env.insert("LC_ALL", locale);
  return env;
}

bool pointCom(int n, const QString& target) {
  const QString link = prefix() + "/dosdevices/com" + QString::number(n);
  QFile::remove(link);
  return target.isEmpty() || QFile::link(target, link);
}

struct Run {
  int exitCode = -1;
  QString out, err;
  QStringList unplayed;  // actions never played, or control lines vq-sim refused
};

// Runs the program under Wine, the operator playing actions (operator_script.h).
Run runWindowsCli(const QStringList& args, const QString& locale, const QStringList& actions, SimProcess* sim = nullptr) {
  QProcess p;
  p.setProcessEnvironment(wineEnvironment(locale));
  p.start("wine", QStringList{windowsCli()} + args);
  Run r;
  if (!p.waitForStarted(20000)) return r;
  OperatorRun played = playOperator(p, actions, sim, 300000);
  if (p.state() != QProcess::NotRunning) {
    p.kill();
    p.waitForFinished(5000);
  }
  played.out += p.readAllStandardOutput();
  played.err += p.readAllStandardError();
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(played.out);
  r.err = QString::fromUtf8(played.err);
  r.unplayed = played.unplayed + played.refused;
  return r;
}

}  // namespace

class WineCliE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!QFileInfo::exists(windowsCli())) QSKIP("no Windows build (make windows)");
    QVERIFY2(QFileInfo::exists(prefix() + "/system.reg"), qPrintable("no Wine prefix in " + prefix()));
    const Run v = runWindowsCli({"--version"}, "en_US.UTF-8", {});
    QCOMPARE(v.exitCode, 0);
    QVERIFY2(v.out.startsWith("vq-update-cli "), qPrintable(v.out + v.err));
  }

  // --check-port says what Windows tells: there or not, held or not.
  void checkPort_data() {
    QTest::addColumn<QString>("arrange");  // "", "held" or "missing"
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("text");
    QTest::newRow("usable") << "" << 0 << "  usable";
    QTest::newRow("held") << "held" << 1 << "held open by another program: another program";
    QTest::newRow("missing") << "missing" << 1 << "problem: COM33 does not exist";
  }
  void checkPort() {
    QFETCH(QString, arrange);
    QFETCH(int, exitCode);
    QFETCH(QString, text);
    SimProcess sim;
    QVERIFY2(sim.start(QStringList{"--link-settings", "115200,O,8,1"}), qPrintable(sim.error()));
    QVERIFY(pointCom(kCom, arrange == "missing" ? QString() : sim.linkPath()));
    QProcess holder;
    if (arrange == "held") {
      holder.setProcessEnvironment(wineEnvironment("en_US.UTF-8"));
      holder.start("wine", {portHolder(), "COM" + QString::number(kCom)});
      QVERIFY(holder.waitForStarted(20000));
      QVERIFY2(holder.waitForReadyRead(30000), qPrintable(holder.readAllStandardError()));
    }
    const Run r = runWindowsCli({"--check-port", "COM" + QString::number(kCom)}, "en_US.UTF-8", {}, &sim);
    if (arrange == "held") {
      holder.closeWriteChannel();
      QVERIFY(holder.waitForFinished(20000));
    }
    QVERIFY2(r.exitCode == exitCode && r.out.contains(text), qPrintable(QString::number(r.exitCode) + "\n" + r.out + r.err));
    pointCom(kCom, QString());
  }

  void update_data() {
    QTest::addColumn<QStringList>("cliArgs");  // {FILE} filled in
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("arrange");      // "missing", "held", or ""
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("text");         // the output must hold it
    QTest::addColumn<QString>("flashed");      // flash_matches_update_file afterwards
    QTest::addColumn<QString>("identity");     // "MODEL|SERIAL" the instrument ends with
    QTest::addColumn<bool>("resume");          // a second run with --resume must complete

    const QStringList base{"--com", QString::number(kCom), "--file", "{FILE}", "--baud", "115200", "--json",
                           "--switch-ready"};
    const QStringList sim{"--switch", "auto", "--link-settings", "115200,O,8,1"};
    const QString restored = "VQA-7001| 13579";

    QTest::newRow("whole update, English, writing at 38400")
        << base + QStringList{"--lang", "en", "--writing-rate", "38400"} << sim << "en_US.UTF-8" << "" << QStringList{}
        << 0 << "Verifying completed" << "yes" << restored << false;
    // No --lang: the language is the system's (Wine's, from the locale).
    QTest::newRow("whole update, Japanese by the system's language, writing at 9600")
        << base + QStringList{"--writing-rate", "9600"} << sim << "ja_JP.UTF-8" << "" << QStringList{} << 0
        << "５．ファームウェア更新" << "yes" << restored << false;
    QTest::newRow("forced update")
        << base + QStringList{"--lang", "en", "--writing-rate", "38400", "--forced", "VQA-7000", "24680"} << sim
        << "en_US.UTF-8" << "" << QStringList{} << 0 << "Before update Ver.0.0.0 ---> After update Ver.1.2.0" << "yes"
        << "VQA-7000| 24680" << false;
    // The operator at the console: Enter at steps 4 and 6, the switch moved meanwhile.
    QTest::newRow("Enter at steps 4 and 6")
        << QStringList{"--com", QString::number(kCom), "--file", "{FILE}", "--baud", "115200", "--json", "--lang", "en",
                       "--writing-rate", "38400"}
        << QStringList{"--switch", "manual", "--link-settings", "115200,O,8,1"} << "en_US.UTF-8" << ""
        << QStringList{"Press Enter when done=>switch W;power;enter", "Press Enter when done=>switch -;power;enter"}
        << 0 << "Verifying completed" << "yes" << restored << false;
    QTest::newRow("Ctrl+C at step 4's wait")
        << QStringList{"--com", QString::number(kCom), "--file", "{FILE}", "--baud", "115200", "--json", "--lang", "en"}
        << sim << "en_US.UTF-8" << "" << QStringList{"Press Enter when done=>sigint"} << 130 << "Stopped." << "no"
        << restored << false;
    // The retry: the firmware erased, the instrument cannot answer step 2, so the journal saved
    // before step 5 carries the identity into the second run.
    QTest::newRow("step 5 fails with its code, the retry completes")
        << base + QStringList{"--lang", "en", "--writing-rate", "38400"}
        << sim + QStringList{"--fault", "wdata#10:drop"} << "en_US.UTF-8" << "" << QStringList{} << 33
        << "Timeout occurs when updating process." << "yes" << restored << true;
    QTest::newRow("a port that does not exist")
        << base + QStringList{"--lang", "en"} << sim << "en_US.UTF-8" << "missing" << QStringList{} << 11
        << "COM33" << "no" << restored << false;
    // The DCB carries stick parity and two stop bits; vq-sim answers only on its own settings.
    QTest::newRow("mark parity, 2 stop bits")
        << base + QStringList{"--lang", "en", "--writing-rate", "38400", "--parity", "mark", "--stop-bits", "2"}
        << QStringList{"--switch", "auto", "--link-settings", "115200,M,8,2"} << "en_US.UTF-8" << "" << QStringList{} << 0
        << "Verifying completed" << "yes" << restored << false;
    // Settings no serial driver takes: refused before the port opens, as on Linux.
    QTest::newRow("4 data bits refused")
        << base + QStringList{"--lang", "en", "--data-bits", "4"} << sim << "en_US.UTF-8" << "" << QStringList{} << 15
        << "Incorrect communication setting." << "no" << restored << false;
    QTest::newRow("1.5 stop bits refused")
        << base + QStringList{"--lang", "en", "--stop-bits", "1.5"} << sim << "en_US.UTF-8" << "" << QStringList{} << 15
        << "Incorrect communication setting." << "no" << restored << false;
    // As on Linux: the unknown-error code, the cause on the line above it.
    QTest::newRow("a port held by another program")
        << base + QStringList{"--lang", "en"} << sim << "en_US.UTF-8" << "held" << QStringList{} << 99
        << "in use by another program" << "no" << restored << false;
    QTest::newRow("two Ctrl+C in step 5 stop")
        << base + QStringList{"--lang", "en", "--writing-rate", "38400"} << sim
        << "en_US.UTF-8" << "" << QStringList{"Now writing new firmware=>sigint", "half-written=>sigint"} << 130
        << "Stopped." << "no" << restored << false;
    QTest::newRow("one Ctrl+C in step 5 goes on")
        << base + QStringList{"--lang", "en", "--writing-rate", "38400"} << sim + QStringList{"--program-ms", "4"}
        << "en_US.UTF-8" << "" << QStringList{"Now writing new firmware=>sigint"} << 0
        << "Stopping now leaves the controller half-written. Press Ctrl+C again within 3 s to stop." << "yes"
        << restored << false;
    // The device vanishes under the open port: the failed read ends the step at once.
    QTest::newRow("cable pulled in step 5")
        << base + QStringList{"--lang", "en", "--writing-rate", "9600"} << sim << "en_US.UTF-8" << ""
        << QStringList{"Writing new firmware started=>unplug"} << 30 << "went away while in use" << "no" << restored
        << false;
  }

  void update() {
    QFETCH(QStringList, cliArgs);
    QFETCH(QStringList, simArgs);
    QFETCH(QString, locale);
    QFETCH(QString, arrange);
    QFETCH(QStringList, actions);
    QFETCH(int, exitCode);
    QFETCH(QString, text);
    QFETCH(QString, flashed);
    QFETCH(QString, identity);
    QFETCH(bool, resume);

    SimProcess sim;
    const QString file = startInstrument(sim, simArgs);
    QVERIFY2(!file.isEmpty(), qPrintable(sim.error()));
    QVERIFY(QDir(stateDir()).removeRecursively());
    QVERIFY(pointCom(kCom, arrange == "missing" ? QString() : sim.linkPath()));
    QStringList args;
    for (QString a : cliArgs) args << a.replace("{FILE}", QString("Z:" + file).replace('/', '\\'));

    QProcess holder;
    if (arrange == "held") {
      holder.setProcessEnvironment(wineEnvironment(locale));
      holder.start("wine", {portHolder(), "COM" + QString::number(kCom)});
      QVERIFY(holder.waitForStarted(20000));
      QVERIFY2(holder.waitForReadyRead(30000), qPrintable(holder.readAllStandardError()));  // "held"
    }
    const Run r = runWindowsCli(args, locale, actions, &sim);
    if (arrange == "held") {
      holder.closeWriteChannel();  // its end
      QVERIFY(holder.waitForFinished(20000));
    }
    const QString context = "\nstderr:\n" + r.err + "\nstdout:\n" + r.out;
    QVERIFY2(r.unplayed.isEmpty(), qPrintable("not played: " + r.unplayed.join(", ") + context));
    QVERIFY2(r.exitCode == exitCode, qPrintable(QString("exit %1").arg(r.exitCode) + context));
    QVERIFY2((r.out + r.err).contains(text), qPrintable("no \"" + text + "\"" + context));

    // --json and the update record in %LOCALAPPDATA%, as on Linux.
    const QJsonObject o = QJsonDocument::fromJson(r.out.trimmed().toUtf8()).object();
    QCOMPARE(o["result"].toInt(-1), exitCode);
    QFile log(stateDir() + "/updates.jsonl");
    QVERIFY2(log.open(QIODevice::ReadOnly), qPrintable(log.fileName()));
    const QJsonObject rec = QJsonDocument::fromJson(log.readAll().trimmed().split('\n').last()).object();
    QCOMPARE(rec["result"].toInt(-1), exitCode);
    QCOMPARE(rec["port"].toString(), QString("\\\\.\\COM%1").arg(kCom));
    QVERIFY(rec["program"].toString().startsWith("vq-update-cli "));

    if (resume) {
      QVERIFY(sim.ok("fault clear"));
      QVERIFY(sim.ok("power"));
      const Run again = runWindowsCli(QStringList{"--com", QString::number(kCom), "--file", args[3], "--baud", "115200",
                                                  "--lang", "en", "--writing-rate", "38400", "--switch-ready", "--resume"},
                                      locale, {});
      QVERIFY2(again.exitCode == 0, qPrintable(again.err + again.out));
      const QString resumed = "The instrument gave no valid reply; resuming with the saved identity: VQA-7001  13579";
      QVERIFY2(again.err.contains(resumed) || again.out.contains(resumed),
               qPrintable(again.err + again.out));
      QVERIFY(QDir(stateDir() + "/unfinished").isEmpty());
    }

    QVERIFY2(sim.stop(), qPrintable(sim.error()));
    const SimReport rep = sim.readReport();
    QVERIFY2(rep["violations"] == "0", qPrintable(rep.linesStarting("violation ").join('\n')));
    QCOMPARE(rep["flash_matches_update_file"], resume ? QString("yes") : flashed);
    QCOMPARE(rep["model"], identity.section('|', 0, 0));
    QCOMPARE(rep["serial"], identity.section('|', 1));
    pointCom(kCom, QString());
  }
};

QTEST_GUILESS_MAIN(WineCliE2eTest)
#include "wine_cli_e2e_test.moc"
