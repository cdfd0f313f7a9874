// vq-update-cli against vq-sim on a pseudo-terminal, as a script or a service bench runs it:
// whole updates, the forced update, a failure in each step that holds the port, refused
// options, the operator's Enter and Ctrl+C, the trace and the update record. One table; each
// row starts its own simulator and program.
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include "e2e/operator_script.h"
#include "e2e/sim_process.h"
#include "e2e/update_walk.h"
#include "support/pty.h"

using namespace vq::e2e;

namespace {

QString cliProgram() { return QStringLiteral(VQ_UPDATE_CLI_PATH); }

// The bytes of every "→" (sent) or "←" (received) line of a trace, in order.
QByteArray traceBytes(const QByteArray& trace, const QString& arrow) {
  QByteArray out;
  for (const QByteArray& raw : trace.split('\n')) {
    const QString line = QString::fromUtf8(raw);
    const qsizetype at = line.indexOf("] " + arrow + " ");
    if (at < 0 || line.startsWith('#')) continue;
    out += QByteArray::fromHex(line.mid(at + 4).remove(' ').toLatin1());
  }
  return out;
}

QString sha256(const QByteArray& b) { return QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex(); }

// The trace holds exactly what the simulator saw on the line, and what it sent, in order; and
// the line changes with their steps: the link opened in step 2, the boot rate switch in step 5.
void checkTraceAgainstReport(const QString& tracePath, const SimReport& r) {
  QFile tf(tracePath);
  QVERIFY2(tf.open(QIODevice::ReadOnly), qPrintable(tracePath));
  const QByteArray trace = tf.readAll();
  const QByteArray sent = traceBytes(trace, "→"), received = traceBytes(trace, "←");
  QCOMPARE(QString::number(sent.size()), r["pty_bytes_in"]);
  QCOMPARE(sha256(sent), r["pty_in_sha256"]);
  QCOMPARE(QString::number(received.size()), r["pty_bytes_out"]);
  QCOMPARE(sha256(received), r["pty_out_sha256"]);
  const QString text = QString::fromUtf8(trace);
  QVERIFY(text.contains(QRegularExpression(R"(\n +\d+ 5 \[Baud rate setting started\] settings 153600,N,8,1\n)")));
  QVERIFY(text.contains(QRegularExpression(R"(\n +\d+ 2 \[\] open 307200,O,8,1 handshaking 0\n)")));
}

}  // namespace

class CliE2eTest : public QObject {
  Q_OBJECT

 private slots:
  void update_data() {
    QTest::addColumn<QStringList>("cliArgs");   // {PORT} {FILE} {STATE} are filled in; {HELD} is
                                                // {PORT} with this test's live lock under its name
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errorText");     // a line stderr must hold ("" = none expected);
                                                // {STATE} {PORT} {PID} (this test's) filled in
    QTest::addColumn<QString>("outText");       // a line the progress must hold
    QTest::addColumn<QString>("flashed");       // flash_matches_update_file afterwards, "" = no sim check
    QTest::addColumn<QString>("identity");      // "MODEL|SERIAL" the instrument ends with
    QTest::addColumn<int>("failedStep");        // in --json and the record; 0 = null
    QTest::addColumn<int>("records");           // lines in the update record

    const QStringList base{"--port", "{PORT}", "--file", "{FILE}", "--json", "--writing-rate", "153600"};
    const QStringList ready = base + QStringList{"--switch-ready"};
    const QStringList autoSwitch{"--switch", "auto"};
    const QString restored = "VQA-7001| 13579";

    QTest::newRow("whole update, English, traced")
        << ready + QStringList{"--lang", "en", "--trace", "{STATE}/trace.txt"} << autoSwitch << QStringList{} << 0 << ""
        << "Verifying completed" << "yes" << restored << 0 << 1;
    QTest::newRow("whole update, Japanese")
        << ready + QStringList{"--lang", "ja"} << autoSwitch << QStringList{} << 0 << "" << "５．ファームウェア更新"
        << "yes" << restored << 0 << 1;
    // The operator at the terminal: Enter at steps 4 and 6, the switch moved meanwhile.
    QTest::newRow("Enter at steps 4 and 6")
        << base + QStringList{"--lang", "en"} << QStringList{"--switch", "manual"}
        << QStringList{"Press Enter when done=>switch W;power;enter", "Press Enter when done=>switch -;power;enter"}
        << 0 << "" << "  b. On the front panel of your VQ system, change the FW switch " << "yes" << restored << 0 << 1;
    QTest::newRow("forced update")
        << ready + QStringList{"--lang", "en", "--forced", "VQA-7000", "24680"} << autoSwitch << QStringList{} << 0 << ""
        << "Before update Ver.0.0.0 ---> After update Ver.1.2.0" << "yes" << "VQA-7000| 24680" << 0 << 1;
    QTest::newRow("step 2 fails: the instrument does not answer")
        << ready + QStringList{"--lang", "en"} << QStringList{"--switch", "auto", "--silent"} << QStringList{} << 12
        << "Excessive retries occur when communicating." << "Now getting parameters. . ." << "no" << restored << 2 << 1;
    QTest::newRow("step 5 fails: a block without its status")
        << ready + QStringList{"--lang", "en"} << QStringList{"--switch", "auto", "--fault", "wdata#10:drop"}
        << QStringList{} << 33 << "Timeout occurs when updating process." << "Writing new firmware started" << "no"
        << restored << 5 << 1;
    QTest::newRow("step 7 fails: the model name is never acknowledged")
        << ready + QStringList{"--lang", "en"} << QStringList{"--switch", "auto", "--fault", "i1#2+0:drop"}
        << QStringList{} << 12 << "Excessive retries occur when communicating." << "Now writing parameters. . ."
        << "yes" << "" << 7 << 1;
    // Another program holds the port by the name it was given (the simulator's link, not the
    // pseudo-terminal's own name), as Qt's serial port and minicom name their lock: refused.
    QTest::newRow("step 2 fails: the port locked under the name given")
        << QStringList{"--port", "{HELD}", "--file", "{FILE}", "--json", "--switch-ready", "--lang", "en"} << autoSwitch
        << QStringList{} << 99 << "{PORT} is in use by cli_e2e_test (pid {PID}). Close it and press Next."
        << "Unknown error occurs." << "no" << restored << 2 << 1;
    // Ctrl+C: outside steps 5 and 7 it stops at once; in them only a second one within 3 s does.
    QTest::newRow("Ctrl+C at step 4's wait")
        << base + QStringList{"--lang", "en"} << autoSwitch << QStringList{"Press Enter when done=>sigint"} << 130
        << "Stopped." << "Getting parameters completed." << "no" << restored << 4 << 1;
    QTest::newRow("one Ctrl+C in step 5 goes on")
        << ready + QStringList{"--lang", "en"} << autoSwitch + QStringList{"--program-ms", "4"}
        << QStringList{"Now writing new firmware=>sigint"} << 0
        << "Stopping now leaves the controller half-written. Press Ctrl+C again within 3 s to stop." << "Verifying completed"
        << "yes" << restored << 0 << 1;
    QTest::newRow("two Ctrl+C in step 5 stop")
        << ready + QStringList{"--lang", "en"} << autoSwitch + QStringList{"--program-ms", "4"}
        << QStringList{"Now writing new firmware=>sigint", "half-written=>sigint"} << 130 << "Stopped."
        << "Writing new firmware started" << "no" << restored << 5 << 1;
    // Sent while the instrument resets its parameters (seconds): the write that follows lasts
    // only some 50 ms, less than this test may take to notice the text under load.
    QTest::newRow("one Ctrl+C in step 7 goes on")
        << ready + QStringList{"--lang", "en"} << autoSwitch << QStringList{"Now initializing parameters=>sigint"} << 0
        << "Stopping now can leave the instrument without its model name and serial number." << "Verifying completed"
        << "yes" << restored << 0 << 1;
    // A log that cannot be written is said, and the update stands.
    QTest::newRow("update record not writable")
        << ready + QStringList{"--lang", "en"} << autoSwitch << QStringList{} << 0
        << "vq-update-cli: The update record could not be written: " << "Verifying completed" << "yes" << restored << 0
        << -1;
    // Refused before the port is touched: status 2 and the reason.
    QTest::newRow("refused: a missing file")
        << QStringList{"--port", "{PORT}", "--file", "{STATE}/nothing.bin"} << autoSwitch << QStringList{} << 2
        << "vq-update-cli: no such update file: {STATE}/nothing.bin" << "" << "" << "" << 0 << 0;
    QTest::newRow("refused: an unknown writing rate")
        << QStringList{"--port", "{PORT}", "--file", "{FILE}", "--writing-rate", "57600"} << autoSwitch << QStringList{}
        << 2 << "vq-update-cli: unknown writing rate 57600; the rates are 9600 19200 31250 38400 76800 153600" << ""
        << "" << "" << 0 << 0;
    QTest::newRow("refused: a serial number of four digits")
        << ready + QStringList{"--lang", "en", "--forced", "VQA-7001", "1234"} << autoSwitch << QStringList{} << 2
        << "vq-update-cli: --forced: The wrong number of digits was entered for the serial number field." << "" << ""
        << "" << 0 << 0;
    QTest::newRow("refused: a serial number with a letter")
        << ready + QStringList{"--lang", "en", "--forced", "VQA-7001", "12a45"} << autoSwitch << QStringList{} << 2
        << "vq-update-cli: --forced: Non-numerical character was entered for the serial number field." << "" << ""
        << "" << 0 << 0;
    QTest::newRow("refused: a model the dialog does not list")
        << ready + QStringList{"--forced", "VQA-9999", "12345"} << autoSwitch << QStringList{} << 2
        << "vq-update-cli: --forced: unknown model VQA-9999; choose VQA-7001 VQA-7000" << "" << "" << "" << 0 << 0;
  }

  // The update file's SHA-256 against the checksum file beside it or --sha256: a mismatch ends
  // with 22 before the port is opened, the cause (both digests) among the progress lines.
  void checksum_data() {
    QTest::addColumn<QString>("sumFile");   // new.bin.sha256's text, "" = none; {SUM} the file's digest
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outText");   // a line stdout must hold
    QTest::addColumn<QString>("errorText"); // a line stderr must hold

    const QString wrong = QString("ab").repeated(32);
    QTest::newRow("a matching checksum file") << "{SUM}  new.bin\n" << QStringList{} << 0
                                              << "SHA-256 checksum verified: {SUM}" << "";
    QTest::newRow("a mismatching checksum file")
        << wrong + " *new.bin\n" << QStringList{} << 22 << "SHA-256 of new.bin: {SUM}; new.bin.sha256 says: " + wrong
        << "The updating file is not correct.";
    QTest::newRow("--sha256 wrong, the checksum file right")
        << "{SUM}\n" << QStringList{"--sha256", wrong.toUpper()} << 22
        << "SHA-256 of new.bin: {SUM}; --sha256 says: " + wrong << "The updating file is not correct.";
    QTest::newRow("--sha256 refused")
        << "" << QStringList{"--sha256", "xyz"} << 2 << ""
        << "vq-update-cli: --sha256 takes the file's SHA-256 as 64 hex digits; got \"xyz\"";
  }
  void checksum() {
    QFETCH(QString, sumFile);
    QFETCH(QStringList, extra);
    QFETCH(int, exitCode);
    QFETCH(QString, outText);
    QFETCH(QString, errorText);

    SimProcess sim;
    const QString file = startInstrument(sim, {"--switch", "auto"});
    QVERIFY2(!file.isEmpty(), qPrintable(sim.error()));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString sum = sha256(f.readAll());
    outText.replace("{SUM}", sum);
    if (!sumFile.isEmpty()) {
      QFile c(file + ".sha256");
      QVERIFY(c.open(QIODevice::WriteOnly));
      c.write(sumFile.replace("{SUM}", sum).toUtf8());
    }
    const QString flashBefore = sim.report()["flash_sha256"];

    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", sim.dir() + "/state");
    cli.setProcessEnvironment(env);
    cli.start(cliProgram(), QStringList{"--port", sim.linkPath(), "--file", file, "--switch-ready", "--lang", "en",
                                        "--writing-rate", "153600"} + extra);
    QVERIFY2(cli.waitForFinished(120000), "vq-update-cli did not end");
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    const QString context = "\nstderr:\n" + err + "\nstdout:\n" + out;
    QVERIFY2(cli.exitCode() == exitCode, qPrintable(QString("exit %1").arg(cli.exitCode()) + context));
    if (!outText.isEmpty()) QVERIFY2(out.split('\n').contains(outText), qPrintable("stdout lacks " + outText + context));
    if (!errorText.isEmpty()) QVERIFY2(err.split('\n').contains(errorText), qPrintable("stderr lacks " + errorText + context));

    const SimReport r = sim.report();
    if (exitCode == 0) {
      QCOMPARE(r["flash_matches_update_file"], QString("yes"));
    } else {
      // Refused before step 2: not one byte on the line, the old firmware untouched.
      QCOMPARE(r["pty_bytes_in"], QString("0"));
      QCOMPARE(r["flash_sha256"], flashBefore);
    }
  }

  // The identity survives an update cut short: saved before step 5, a later --resume carries
  // it (the setting included) into the instrument that cannot say who it is, and never into
  // another one; a journal that cannot be trusted or written changes nothing.
  void journal_data() {
    QTest::addColumn<QString>("simFault");   // a fault the first run meets, "" = none
    QTest::addColumn<QString>("cutAt");      // the text at which the first run is killed, "" = not
    QTest::addColumn<QStringList>("after");  // control lines for vq-sim between the runs
    QTest::addColumn<int>("firstExit");      // -1 = killed
    QTest::addColumn<QString>("arrange");    // "damaged", "foreign", "unwritable" or ""
    QTest::addColumn<bool>("resumes");
    QTest::addColumn<bool>("erased");        // the firmware gone: the instrument cannot answer step 2

    QTest::newRow("killed during step 5") << "" << "Writing new firmware started" << QStringList{"power"} << -1 << "" << true << true;
    // Step 5's first line comes before its port opens: the journal is on disk before any byte.
    QTest::newRow("killed at step 5's first line")
        << "" << "Now creating binary data" << QStringList{"power"} << -1 << "" << true << false;
    QTest::newRow("step 5 failed, then the operator quit")
        << "wdata#300:drop" << "" << QStringList{"fault clear", "power"} << 33 << "" << true << true;
    // Step 7 cut short after the model went back, before the serial number did (the soak's
    // find): the instrument reads as part of the saved identity and is resumed with it.
    QTest::newRow("step 7 failed between model and serial")
        << "i1#2+0:drop" << "" << QStringList{"fault clear"} << 12 << "" << true << false;
    QTest::newRow("power cut: program and instrument")
        << "" << "Erasing the old firmware completed" << QStringList{"power off", "power on"} << -1 << "" << true << true;
    QTest::newRow("a damaged journal is ignored") << "" << "" << QStringList{} << 0 << "damaged" << false << false;
    QTest::newRow("a foreign file is ignored") << "" << "" << QStringList{} << 0 << "foreign" << false << false;
    QTest::newRow("a journal that cannot be written") << "" << "" << QStringList{} << 0 << "unwritable" << false << false;
  }
  void journal() {
    QFETCH(QString, simFault);
    QFETCH(QString, cutAt);
    QFETCH(QStringList, after);
    QFETCH(int, firstExit);
    QFETCH(QString, arrange);
    QFETCH(bool, resumes);
    QFETCH(bool, erased);

    SimProcess sim;
    const QString file = sim.makeUpdateFile("new.bin", {"--version", "1.2.0", "--seed", "3"});
    const QString oldFile = sim.makeUpdateFile("old.bin", {"--version", "1.0.3", "--seed", "11"});
    QVERIFY2(sim.start(QStringList{"--model", "VQA-7001", "--serial", " 13579", "--cmd04", "9", "--flash", oldFile,
                                   "--expect-file", file, "--switch", "auto"} + fastDevice()),
             qPrintable(sim.error()));
    if (!simFault.isEmpty()) QVERIFY(sim.ok("fault " + simFault));
    const QString state = sim.dir() + "/state", folder = state + "/vq-update/unfinished";
    QVERIFY(QDir().mkpath(state + "/vq-update"));
    const QString planted = folder + "/VQA-7000_24680.journal";
    const QByteArray plantedText = arrange == "damaged" ? QByteArray("vq-update journal 1\nmodel=VQA-7000\nserial= 24680\ncheck=00\n")
                                                        : QByteArray("something else entirely\n");
    if (arrange == "damaged" || arrange == "foreign") {
      QVERIFY(QDir().mkpath(folder));
      QFile f(planted);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(plantedText);
    }
    if (arrange == "unwritable") QVERIFY(QFile(folder).open(QIODevice::WriteOnly));  // a file where the folder goes

    const QStringList common{"--file", file, "--switch-ready", "--lang", "en", "--writing-rate", "153600"};
    auto run = [&](const QStringList& extra, const QString& killAt, QString& output, QString port = {}) {
      QProcess cli;
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("XDG_STATE_HOME", state);
      cli.setProcessEnvironment(env);
      cli.setProcessChannelMode(QProcess::MergedChannels);
      cli.start(cliProgram(), QStringList{"--port", port.isEmpty() ? sim.linkPath() : port} + common + extra);
      QElapsedTimer t;
      t.start();
      while (cli.state() != QProcess::NotRunning && t.elapsed() < 120000) {
        cli.waitForReadyRead(20);
        output += QString::fromUtf8(cli.readAll());
        if (!killAt.isEmpty() && output.contains(killAt)) {
          cli.kill();  // SIGKILL: nothing of the program runs on
          cli.waitForFinished(5000);
          return -1;
        }
      }
      cli.waitForFinished(10000);
      output += QString::fromUtf8(cli.readAll());
      return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -2;
    };

    QString first;
    QCOMPARE(run({}, cutAt, first), firstExit);
    if (!resumes) {
      QVERIFY2(first.contains("Verifying completed"), qPrintable(first));
      QCOMPARE(sim.report()["flash_matches_update_file"], QString("yes"));
      if (arrange == "unwritable") {
        QVERIFY2(first.contains("The instrument's identity could not be saved for this update (the update goes on): "), qPrintable(first));
      } else {
        QVERIFY2(first.contains("An update journal cannot be trusted and is ignored: " + planted), qPrintable(first));
        QFile f(planted);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), plantedText);  // reported, never trusted, never changed
        QVERIFY(QDir(folder).entryList(QDir::Files).size() == 1);
      }
      return;
    }
    const QString saved = folder + "/VQA-7001_13579.journal";
    QVERIFY2(QFileInfo::exists(saved), qPrintable(first));
    for (const QString& line : after) QVERIFY2(sim.ok(line), qPrintable(line));

    // A run without --resume only says that one waits; the list names it.
    QString listed;
    QCOMPARE(run({"--list-unfinished"}, "", listed), 0);
    QVERIFY2(listed.startsWith("VQA-7001  13579, Ver.1.0.3, ") && listed.contains(sim.linkPath()) && listed.contains("new.bin"),
             qPrintable(listed));

    // Another instrument, one that answers, on another port: --resume reads it and refuses
    // before anything is written.
    SimProcess other;
    QVERIFY2(other.start(QStringList{"--model", "VQA-7000", "--serial", " 24680", "--cmd04", "3", "--flash", oldFile,
                                     "--expect-file", file, "--switch", "auto"} + fastDevice()),
             qPrintable(other.error()));
    QString refused;
    QCOMPARE(run({"--resume"}, "", refused, other.linkPath()), 2);
    QVERIFY2(refused.contains("--resume: this instrument is VQA-7000 24680, the saved update is VQA-7001 13579; "
                              "nothing was written"),
             qPrintable(refused));
    const SimReport untouched = other.report();
    QCOMPARE(untouched["model"], QString("VQA-7000"));
    QCOMPARE(untouched["serial"], QString(" 24680"));
    QCOMPARE(untouched["flash_matches_update_file"], QString("no"));
    QVERIFY(QFileInfo::exists(saved));

    // The instrument itself: without firmware it gives no valid reply, so the saved identity
    // goes in; with its firmware it reads as itself and is updated as usual.
    QString second;
    QCOMPARE(run({"--resume"}, "", second), 0);
    const bool partial = simFault.startsWith("i1");
    QVERIFY2(second.contains(erased ? "The instrument gave no valid reply; resuming with the saved identity: VQA-7001  13579"
                             : partial ? "The instrument holds only part of the saved identity (its step 7 was cut short); "
                                         "resuming with the saved identity: VQA-7001  13579"
                                       : "The same instrument as the saved update: an ordinary update follows."),
             qPrintable(second));
    const SimReport r = sim.report();
    QCOMPARE(r["flash_matches_update_file"], QString("yes"));
    QCOMPARE(r["model"], QString("VQA-7001"));
    QCOMPARE(r["serial"], QString(" 13579"));
    QCOMPARE(r["cmd04"], QString("9"));
    QVERIFY(!QFileInfo::exists(saved));

    // Nothing is left to resume.
    QString third;
    QCOMPARE(run({"--resume"}, "", third), 2);
    QVERIFY2(third.contains("vq-update-cli: --resume: no unfinished update to resume"), qPrintable(third));

    // Two other instruments waiting, neither saved from this port: neither identity is
    // written into this one.
    for (const QString serial : {"11111", "22222"}) {
      const QByteArray body = "vq-update journal 1\nmodel=VQA-7000\nserial= " + serial.toLatin1() +
                              "\ncmd04=05\ncmd06=01\nfirmware=0a03\nport=/dev/ttyUSB9\nfile=x.bin\nfile_sha256=00\n"
                              "time=" + (serial == "11111" ? "2026-12-09" : "2026-10-01") + "T00:00:00Z\n";
      QFile f(folder + "/VQA-7000_" + serial + ".journal");
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(body + "check=" + sha256(body).toLatin1() + "\n");
    }
    QString fourth;
    QCOMPARE(run({"--resume"}, "", fourth), 2);
    QVERIFY2(fourth.contains("--resume: 2 unfinished updates, none saved from this port"), qPrintable(fourth));

    // Discarded on the operator's word only; the listing marks the one long waiting.
    QString list;
    QCOMPARE(run({"--list-unfinished"}, "", list), 0);
    QVERIFY2(list.contains("VQA-7000  22222, Ver.1.0.3, 2026-10-01T00:00:00Z, /dev/ttyUSB9, x.bin (older than 30 days)") &&
                 list.contains("VQA-7000  11111, Ver.1.0.3, 2026-12-09T00:00:00Z, /dev/ttyUSB9, x.bin\n"),
             qPrintable(list));
    QString forgot;
    QCOMPARE(run({"--forget", "VQA-7000", "11111"}, "", forgot), 0);
    QVERIFY2(forgot.contains("forgotten: VQA-7000  11111"), qPrintable(forgot));
    QCOMPARE(run({"--forget", "VQA-7000", "11111"}, "", forgot), 2);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"VQA-7000_22222.journal"});
  }

  void update() {
    QFETCH(QStringList, cliArgs);
    QFETCH(QStringList, simArgs);
    QFETCH(QStringList, actions);
    QFETCH(int, exitCode);
    QFETCH(QString, errorText);
    QFETCH(QString, outText);
    QFETCH(QString, flashed);
    QFETCH(QString, identity);
    QFETCH(int, failedStep);
    QFETCH(int, records);

    SimProcess sim;
    const QString file = startInstrument(sim, simArgs);
    QVERIFY2(!file.isEmpty(), qPrintable(sim.error()));

    const QString state = sim.dir() + "/state";
    // {HELD}: the link, with a lock under the link's name naming this test's process.
    QString heldLock;
    const auto dropHeldLock = qScopeGuard([&] {
      if (!heldLock.isEmpty()) QFile::remove(heldLock);
    });
    if (cliArgs.contains("{HELD}")) {
      heldLock = "/var/lock/LCK.." + QString(sim.linkPath()).replace('/', '_');
      QFile lock(heldLock);
      QVERIFY2(lock.open(QIODevice::WriteOnly | QIODevice::NewOnly), qPrintable(heldLock + ": " + lock.errorString()));
      lock.write(QString("%1\n").arg(QCoreApplication::applicationPid(), 10).toLatin1());
    }
    QStringList args;
    for (QString a : cliArgs) {
      a.replace("{PORT}", sim.linkPath()).replace("{HELD}", sim.linkPath());
      args << a.replace("{FILE}", file).replace("{STATE}", state);
    }
    errorText.replace("{STATE}", state).replace("{PORT}", sim.linkPath());
    errorText.replace("{PID}", QString::number(QCoreApplication::applicationPid()));
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QVERIFY(QDir().mkpath(state));
    // A file where the log's folder would go makes the record unwritable.
    if (records < 0) {
      QFile blocker(state + "/vq-update");
      QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    env.insert("XDG_STATE_HOME", state);
    cli.setProcessEnvironment(env);
    cli.start(cliProgram(), args);
    QVERIFY2(cli.waitForStarted(10000), qPrintable(cli.errorString()));

    // The operator's part, each action once its text has appeared.
    OperatorRun played = playOperator(cli, actions, &sim, 120000);
    QVERIFY2(played.refused.isEmpty(), qPrintable(played.refused.join(", ")));
    QByteArray& out = played.out;
    QByteArray& err = played.err;
    QVERIFY2(cli.state() == QProcess::NotRunning || cli.waitForFinished(10000), "vq-update-cli did not end");
    out += cli.readAllStandardOutput();
    err += cli.readAllStandardError();
    const QString errText = QString::fromUtf8(err);
    const QString outText8 = QString::fromUtf8(out);
    const QString context = "\nstderr:\n" + errText + "\nstdout:\n" + outText8;
    QVERIFY2(played.unplayed.isEmpty(),
             qPrintable("never saw \"" + played.unplayed.value(0).section("=>", 0, 0) + "\"" + context));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QVERIFY2(cli.exitCode() == exitCode, qPrintable(QString("exit %1").arg(cli.exitCode()) + context));

    const QStringList errLines = errText.split('\n');
    if (!errorText.isEmpty()) {
      QVERIFY2(std::any_of(errLines.begin(), errLines.end(), [&](const QString& l) { return l.startsWith(errorText); }),
               qPrintable("stderr lacks \"" + errorText + "\"" + context));
    }
    if (exitCode == 2) {
      QVERIFY2(errText.contains("usage: vq-update-cli") || errText.contains("--forced"), qPrintable(context));
      QCOMPARE(QFileInfo::exists(state + "/vq-update/updates.jsonl"), false);
      return;
    }
    // Not a terminal: plain lines, no control characters.
    for (const char c : out + err) QVERIFY2(c == '\n' || static_cast<unsigned char>(c) >= 0x20, qPrintable(context));

    // --json: one object on stdout, the progress on stderr.
    const QByteArray json = out.trimmed();
    QJsonParseError pe;
    const QJsonObject o = QJsonDocument::fromJson(json, &pe).object();
    QVERIFY2(pe.error == QJsonParseError::NoError, qPrintable(pe.errorString() + context));
    QVERIFY2(errText.contains(outText), qPrintable("progress lacks \"" + outText + "\"" + context));
    QCOMPARE(o["result"].toInt(-1), exitCode);
    QCOMPARE(o["failed_step"].toInt(0), failedStep);
    QCOMPARE(o["port"].toString(), sim.linkPath());
    QCOMPARE(o["file"].toString(), QString("new.bin"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(o["file_sha256"].toString(), sha256(f.readAll()));
    // Unknown when step 2 never read it.
    const bool beforeRead = !args.contains("--forced") && failedStep != 2;
    QCOMPARE(o["firmware_before"].toString(), beforeRead ? QString("Ver.1.0.3") : QString());
    if (exitCode == 0) QCOMPARE(o["firmware_after"].toString(), QString("Ver.1.2.0"));

    // The record: the same fields plus program and host, mode 600.
    if (records > 0) {
      QFile log(state + "/vq-update/updates.jsonl");
      QVERIFY(log.open(QIODevice::ReadOnly));
      const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
      QCOMPARE(lines.size(), records);
      QJsonObject rec = QJsonDocument::fromJson(lines.last()).object();
      QVERIFY(rec["program"].toString().startsWith("vq-update-cli "));
      QVERIFY(!rec["host"].toString().isEmpty());
      rec.remove("program");
      rec.remove("host");
      QCOMPARE(rec, o);
      struct stat st {};
      QCOMPARE(::stat(QFile::encodeName(log.fileName()).constData(), &st), 0);
      QCOMPARE(int(st.st_mode & 0777), 0600);
    }

    QVERIFY2(sim.stop(), qPrintable(sim.error()));
    const SimReport r = sim.readReport();
    QVERIFY2(r["violations"] == "0", qPrintable(r.linesStarting("violation ").join('\n')));
    QCOMPARE(r["flash_matches_update_file"], flashed);
    if (!identity.isEmpty()) {
      QCOMPARE(r["model"], identity.section('|', 0, 0));
      QCOMPARE(r["serial"], identity.section('|', 1));
    }

    if (QFileInfo::exists(state + "/trace.txt")) checkTraceAgainstReport(state + "/trace.txt", r);
  }

  // On a terminal the counting lines of step 5 are rewritten in place with the bar, cut to
  // the terminal's width so a rewrite never wraps.
  void progressOnATerminal() {
    SimProcess sim;
    const QString file = sim.makeUpdateFile("new.bin", {"--version", "1.2.0", "--seed", "3"});
    QVERIFY2(!file.isEmpty(), qPrintable(sim.error()));
    QVERIFY2(sim.start(QStringList{"--switch", "auto", "--expect-file", file} + fastDevice() +
                       QStringList{"--program-ms", "3"}),
             qPrintable(sim.error()));
    vq::test::PtyMaster term;
    QVERIFY(!term.slave.isEmpty());
    constexpr int kColumns = 60;
    winsize ws{};
    ws.ws_col = kColumns;
    ws.ws_row = 24;
    QCOMPARE(::ioctl(term.master, TIOCSWINSZ, &ws), 0);
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", sim.dir() + "/state");
    cli.setProcessEnvironment(env);
    cli.setStandardOutputFile(term.slave);
    cli.start(cliProgram(), {"--port", sim.linkPath(), "--file", file, "--switch-ready", "--lang", "en"});
    QByteArray shown;
    QElapsedTimer t;
    t.start();
    auto drain = [&] {
      char buf[4096];
      for (ssize_t n; (n = ::read(term.master, buf, sizeof buf)) > 0;) shown.append(buf, n);
    };
    while (!cli.waitForFinished(20) && t.elapsed() < 120000) drain();
    drain();
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY2(shown.contains("\r\x1b[K["), shown.constData());
    QVERIFY2(QString::fromUtf8(shown).contains(QRegularExpression(R"(\] \d+/512  [0-9.]+ kB/s  \d+:\d\d left)")),
             shown.constData());
    // Every rewrite, up to the next line end or rewrite (the instruction texts wrap as they may).
    const QList<QByteArray> rewrites = shown.split('\r');
    for (const QByteArray& r : rewrites) {
      if (!r.startsWith("\x1b[K")) continue;
      const QByteArray line = r.mid(3).split('\n').first();
      QVERIFY2(line.size() < kColumns, line.constData());
    }
  }

  // The window's program traces and records the same way (its autopilot walks the wizard).
  void windowProgramTracesAndRecords() {
    SimProcess sim;
    const QString file = sim.makeUpdateFile("new.bin", {"--version", "1.2.0", "--seed", "3"});
    QVERIFY2(!file.isEmpty(), qPrintable(sim.error()));
    QVERIFY2(sim.start(QStringList{"--switch", "auto", "--expect-file", file} + fastDevice()), qPrintable(sim.error()));
    const QString state = sim.dir() + "/state", trace = sim.dir() + "/window-trace.txt";
    QProcess gui;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_STATE_HOME", state);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("LANG", "en_US.UTF-8");
    env.insert("LC_ALL", "en_US.UTF-8");
    gui.setProcessEnvironment(env);
    gui.start(QStringLiteral(VQ_UPDATE_PATH), {"--com", "1=" + sim.linkPath(), "--trace", trace, "--autopilot",
                                               sim.dir() + "/shots", "--file", file});
    // The autopilot writes at 38400; the trace's rate line is checked at the CLI's 153600.
    QVERIFY2(gui.waitForFinished(180000), "vq-update did not end");
    QVERIFY2(gui.exitCode() == 0, (gui.readAllStandardOutput() + gui.readAllStandardError()).constData());
    QVERIFY2(sim.stop(), qPrintable(sim.error()));
    const SimReport r = sim.readReport();
    QCOMPARE(r["flash_matches_update_file"], QString("yes"));
    QFile tf(trace);
    QVERIFY(tf.open(QIODevice::ReadOnly));
    const QByteArray text = tf.readAll();
    QCOMPARE(sha256(traceBytes(text, "→")), r["pty_in_sha256"]);
    QCOMPARE(sha256(traceBytes(text, "←")), r["pty_out_sha256"]);
    QVERIFY(text.startsWith("# serial trace of vq-update 1.1.0"));

    QFile log(state + "/vq-update/updates.jsonl");
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = log.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 1);
    const QJsonObject rec = QJsonDocument::fromJson(lines[0]).object();
    QCOMPARE(rec["program"].toString(), QString("vq-update 1.1.0"));
    QCOMPARE(rec["result"].toInt(-1), 0);
    QCOMPARE(rec["port"].toString(), sim.linkPath());
    QCOMPARE(rec["firmware_after"].toString(), QString("Ver.1.2.0"));
  }
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  CliE2eTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "cli_e2e_test.moc"
