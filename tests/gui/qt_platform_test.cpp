// The serial port in Qt's event loop against a pseudo-terminal, the COM map and the timer.
#include <asm/termbits.h>  // termios2; must not meet <termios.h> in one file
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <vector>

#include "platform/native/com_port_map.h"
#include "platform/native/comm_timer.h"
#include "platform/native/port_check.h"
#include "platform/native/port_diagnosis.h"
#include "platform/native/serial_port.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_platform.h"
#include "support/pty.h"

using namespace vq;
using namespace vq::native;
using vq::qt::displayText;
using vq::qt::QtEventLoop;

namespace {

// The pseudo-terminal's master, with the line settings the port set and its bytes.
struct Pty : test::PtyMaster {
  termios2 line() const {
    termios2 t{};
    ::ioctl(master, TCGETS2, &t);
    return t;
  }
  void write(const Bytes& b) const { QCOMPARE(::write(master, b.data(), b.size()), ssize_t(b.size())); }
  // Reads until n bytes came or the time passed, processing events so the port can write.
  Bytes read(std::size_t n, int timeoutMs = 1000) const {
    Bytes out;
    QElapsedTimer t;
    t.start();
    while (out.size() < n && t.elapsed() < timeoutMs) {
      QCoreApplication::processEvents();
      std::uint8_t buf[65536];
      const ssize_t got = ::read(master, buf, sizeof buf);
      if (got > 0) out.insert(out.end(), buf, buf + got);
      else QThread::msleep(1);
    }
    return out;
  }
};

// The serial port as the window runs it: native, its events from Qt's loop.
struct QtPort : QtEventLoop, NativeSerialPort {
  explicit QtPort(const ComPortMap& map) : NativeSerialPort(map, *this) {}
};

// A port with COM1 pinned to a pseudo-terminal's slave.
struct PortOnPty {
  Pty pty;
  ComPortMap map;
  QtPort port;
  PortOnPty() : port(map) { map.pin(1, pty.slave.toStdString()); }
};

}  // namespace

class QtPlatformTest : public QObject {
  Q_OBJECT

 private slots:
  // --check-port over fake /dev, /sys and /proc trees (and a real pseudo-terminal for a held
  // port): every problem found, each with its remedy.
  void checkPortFindsEveryProblem() {
    QTemporaryDir tmp;
    auto file = [&](const QString& rel, const QByteArray& text) {
      QDir(tmp.path()).mkpath(QFileInfo(rel).path());
      QFile f(tmp.filePath(rel));
      f.open(QIODevice::WriteOnly);
      f.write(text);
    };
    auto link = [&](const QString& target, const QString& rel) {
      QDir(tmp.path()).mkpath(QFileInfo(rel).path());
      QFile::link(target, tmp.filePath(rel));
    };
    // An FTDI adapter at its default latency, a CH34x one, ModemManager running, brltty installed.
    file("dev/ttyUSB0", "");
    file("dev/ttyUSB1", "");
    link(tmp.filePath("dev/ttyUSB0"), "dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0");
    file("sys/devices/usb1/1-1/idVendor", "0403\n");
    file("sys/devices/usb1/1-1/idProduct", "6001\n");
    file("sys/devices/usb1/1-1/1-1:1.0/ttyUSB0/latency_timer", "16\n");
    QDir(tmp.path()).mkpath("sys/bus/usb-serial/drivers/ftdi_sio");
    link(tmp.filePath("sys/bus/usb-serial/drivers/ftdi_sio"), "sys/devices/usb1/1-1/1-1:1.0/ttyUSB0/driver");
    link(tmp.filePath("sys/devices/usb1/1-1/1-1:1.0/ttyUSB0"), "sys/class/tty/ttyUSB0/device");
    file("sys/devices/usb1/1-2/idVendor", "1a86\n");
    file("sys/devices/usb1/1-2/idProduct", "7523\n");
    QDir(tmp.path()).mkpath("sys/bus/usb-serial/drivers/ch341");
    link(tmp.filePath("sys/bus/usb-serial/drivers/ch341"), "sys/devices/usb1/1-2/1-2:1.0/ttyUSB1/driver");
    link(tmp.filePath("sys/devices/usb1/1-2/1-2:1.0/ttyUSB1"), "sys/class/tty/ttyUSB1/device");
    file("proc/77/comm", "ModemManager\n");
    file("bin/brltty", "");
    Pty pty;
    link(pty.slave, "proc/4242/fd/5");
    file("proc/4242/comm", "minicom\n");

    PortCheckRoots roots;
    roots.dev = tmp.filePath("dev").toStdString();
    roots.sys = tmp.filePath("sys").toStdString();
    roots.proc = tmp.filePath("proc").toStdString();
    roots.run = tmp.filePath("run").toStdString();
    roots.lock = tmp.filePath("lock").toStdString();
    roots.bin = {tmp.filePath("bin").toStdString()};
    PortCheckRoots realDev = roots;
    realDev.dev = "/dev";

    struct Case {
      const char* name;
      std::string path;
      const PortCheckRoots& roots;
      std::vector<std::string> problemsMention;  // one word of each problem line, in order
      std::string usbId, driver;
    } const cases[] = {
        {"FTDI, ModemManager probing, latency 16 ms", "/dev/ttyUSB0", roots, {"ModemManager", "latency timer"}, "0403:6001", "ftdi_sio"},
        {"CH34x with brltty installed", "/dev/ttyUSB1", roots, {"ModemManager", "brltty"}, "1a86:7523", "ch341"},
        {"nothing at the path", "/dev/ttyUSB5", roots, {"does not exist"}, "", ""},
        {"a pseudo-terminal held by another program", pty.slave.toStdString(), realDev, {"minicom (pid 4242)", "ModemManager"}, "", ""},
    };
    for (const Case& c : cases) {
      const PortCheck r = fncCheckPort(3, c.path, c.roots);
      const std::string text = fncPortCheckText(r);
      QVERIFY2(r.problems.size() == c.problemsMention.size(), (std::string(c.name) + "\n" + text).c_str());
      for (std::size_t i = 0; i < r.problems.size(); ++i)
        QVERIFY2(r.problems[i].find(c.problemsMention[i]) != std::string::npos, (std::string(c.name) + "\n" + text).c_str());
      QVERIFY2(r.usbId == c.usbId && r.driver == c.driver, (std::string(c.name) + "\n" + text).c_str());
      QVERIFY(!r.usable());
    }
    const PortCheck ftdi = fncCheckPort(3, "/dev/ttyUSB0", roots);
    QCOMPARE(ftdi.byId, std::string("/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0"));
    QCOMPARE(ftdi.latencyTimerMs, 16);
  }

  // Low latency is set when the port opens and the driver's flags come back when it closes,
  // also when a failed step closes it; a driver that refuses changes nothing.
  void lowLatencyWhileOpen() {
    struct Case {
      const char* name;
      bool getWorks, setWorks;
      int initialFlags;
      std::vector<int> expectedSets;  // flags written, in order
    } const cases[] = {
        {"set on open, restored on close", true, true, 0x10, {0x10 | 0x2000, 0x10}},
        {"already on: left alone", true, true, 0x2000, {}},
        {"driver without the mode (get refused)", false, true, 0, {}},
        {"driver refuses the set", true, false, 0, {0x2000}},
    };
    for (const Case& c : cases) {
      PortOnPty on;
      auto& [pty, map, port] = on;
      std::vector<int> sets;
      port.setLowLatencyOps({[&](int, int& f) { f = c.initialFlags; return c.getWorks; },
                             [&](int, int f) { sets.push_back(f); return c.setWorks; }});
      port.setPortOpen(true);
      QVERIFY2(port.portOpen(), c.name);
      port.setPortOpen(false);
      QVERIFY2(sets == c.expectedSets, c.name);
    }
    // A step that fails on a vanished device: the close after it still puts the flags back.
    PortOnPty on;
    auto& [pty, map, port] = on;
    std::vector<int> sets;
    port.setLowLatencyOps({[&](int, int& f) { f = 0; return true; }, [&](int, int f) { sets.push_back(f); return true; }});
    port.setPortOpen(true);
    pty.closeMaster();
    QTRY_VERIFY_WITH_TIMEOUT(!port.portOpen(), 2000);
    port.setPortOpen(false);
    QCOMPARE(sets, (std::vector<int>{0x2000, 0}));
  }

  // A port that will not open says why: missing (the path it looked for), held by another
  // program (which, from /proc or the lock file), or forbidden to this user.
  void refusedOpensNameTheirCause() {
    QTemporaryDir tmp;
    const QString dev = tmp.filePath("ttyUSB7");
    QFile(dev).open(QIODevice::WriteOnly);
    auto fakeProcess = [&](const QString& pid, const QString& comm, bool holdsDevice) {
      QDir(tmp.path()).mkpath("proc/" + pid + "/fd");
      QFile c(tmp.filePath("proc/" + pid + "/comm"));
      c.open(QIODevice::WriteOnly);
      c.write((comm + "\n").toUtf8());
      if (holdsDevice) QFile::link(dev, tmp.filePath("proc/" + pid + "/fd/3"));
    };
    const DiagnosisRoots roots{tmp.filePath("proc").toStdString(), tmp.filePath("lock").toStdString()};
    QDir(tmp.path()).mkpath("lock");
    QDir(tmp.path()).mkpath("proc");

    struct Case {
      const char* name;
      std::function<void()> arrange;
      std::string holder;
    } const cases[] = {
        {"nobody to be seen", [] {}, ""},
        {"the lock file names it", [&] {
           fakeProcess("4321", "screen", false);
           const std::string name = SerialDevice::lockFileNames(dev.toStdString()).back();
           QFile l(tmp.filePath("lock/" + QString::fromStdString(name)));
           l.open(QIODevice::WriteOnly);
           l.write("      4321\n");
         }, "screen (pid 4321)"},
        {"an open descriptor names it first", [&] { fakeProcess("1234", "minicom", true); }, "minicom (pid 1234)"},
    };
    for (const Case& c : cases) {
      c.arrange();
      const PortProblem p = fncDiagnoseRefusedOpen(3, dev.toStdString(), roots);
      QCOMPARE(int(p.kind), int(PortProblem::Kind::Busy));
      QVERIFY2(p.holder == c.holder, c.name);
    }

    // Forbidden: a device of mode 000, tried as an unprivileged user (root may open anything).
    ::chmod(dev.toLocal8Bit().constData(), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
      ::_exit(fncDiagnoseRefusedOpen(3, dev.toStdString(), roots).kind == PortProblem::Kind::Forbidden ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    QCOMPARE(WEXITSTATUS(status), 0);

    // Missing: the path pinned with --com does not exist; the line names it.
    ComPortMap map;
    map.pin(2, tmp.filePath("ttyUSB9").toStdString());
    QtPort port(map);
    port.setCommPort(2);
    QVERIFY_THROWS_EXCEPTION(SerialError, port.setPortOpen(true));
    QCOMPARE(int(port.problem.kind), int(PortProblem::Kind::NoDevice));
    const std::string line = fncPortProblemText(port.problem);
    QVERIFY2(line.find("ttyUSB9") != std::string::npos && line.find("--com") != std::string::npos, line.c_str());
  }

  void devicesAreOrderedAdaptersFirstNaturally() {
    const std::vector<std::string> in{"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyS0", "/dev/ttyAMA0",
                         "/dev/ttyS10", "/dev/ttyS2"};
    const std::vector<std::string> want{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyAMA0",
                           "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",    "/dev/ttyS10"};
    QCOMPARE(orderSerialDevices(in), want);
  }

  void comNumbersMapPinnedFirstThenFreeDevicesInOrder_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("path");
    // Pins: COM2 -> /dev/ttyUSB0 (also a system device), COM5 -> /tmp/sim.
    // Free numbers 1, 3, 4, 6 take ttyUSB1, ttyS0, ttyS1, then nothing.
    QTest::newRow("COM1") << 1 << "/dev/ttyUSB1";
    QTest::newRow("COM2 pinned") << 2 << "/dev/ttyUSB0";
    QTest::newRow("COM3") << 3 << "/dev/ttyS0";
    QTest::newRow("COM4") << 4 << "/dev/ttyS1";
    QTest::newRow("COM5 pinned") << 5 << "/tmp/sim";
    QTest::newRow("COM6 none left") << 6 << "";
    QTest::newRow("COM0") << 0 << "";
  }
  void comNumbersMapPinnedFirstThenFreeDevicesInOrder() {
    QFETCH(int, number);
    QFETCH(QString, path);
    ComPortMap map;
    map.pin(2, "/dev/ttyUSB0");
    map.pin(5, "/tmp/sim");
    QCOMPARE(QString::fromStdString(map.pathFor(number, {"/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyUSB1"})), path);
  }

  void comPinArgumentsParse_data() {
    QTest::addColumn<QString>("arg");
    QTest::addColumn<int>("number");  // 0 = refused
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "1=/dev/ttyUSB0" << 1 << "/dev/ttyUSB0";
    QTest::newRow("two digits") << "12=/dev/pts/3" << 12 << "/dev/pts/3";
    QTest::newRow("no number") << "=/dev/ttyUSB0" << 0 << "";
    QTest::newRow("no path") << "3=" << 0 << "";
    QTest::newRow("no equals") << "/dev/ttyUSB0" << 0 << "";
    QTest::newRow("zero") << "0=/dev/ttyUSB0" << 0 << "";
    QTest::newRow("letters") << "x=/dev/ttyUSB0" << 0 << "";
  }
  void comPinArgumentsParse() {
    QFETCH(QString, arg);
    QFETCH(int, number);
    QFETCH(QString, path);
    int n = 0;
    std::string p;
    QCOMPARE(parseComPin(arg.toStdString(), n, p), number != 0);
    if (number) {
      QCOMPARE(n, number);
      QCOMPARE(QString::fromStdString(p), path);
    }
  }

  void badSettingsAreRefusedWith8015_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("1.5 stop bits") << "9600,N,8,1.5";
    QTest::newRow("4 data bits") << "9600,N,4,1";
    QTest::newRow("9 data bits") << "9600,N,9,1";
    QTest::newRow("unknown parity") << "9600,X,8,1";
    QTest::newRow("three fields") << "9600,N,8";
    QTest::newRow("not a rate") << "fast,N,8,1";
  }
  void badSettingsAreRefusedWith8015() {
    QFETCH(QString, text);
    ComPortMap map;
    QtPort port(map);
    port.setSettings("9600,N,8,1");
    try {
      port.setSettings(text.toStdString());
      QFAIL("accepted");
    } catch (const SerialError& e) {
      QCOMPARE(e.number, kPortSettingsRejected);
    }
    QCOMPARE(port.settings(), std::string("9600,N,8,1"));
  }

  void unmappedNumberThrows8002() {
    ComPortMap map;
    QtPort port(map);
    port.setCommPort(250);
    try {
      port.setPortOpen(true);
      QFAIL("opened");
    } catch (const SerialError& e) {
      QCOMPARE(e.number, kPortNoSuchDevice);
    }
    QVERIFY(!port.portOpen());
  }

  void ptyOpensWithSettingsAppliedAndNoModemLines() {
    Pty pty;
    QVERIFY(!pty.slave.isEmpty());
    ComPortMap map;
    map.pin(3, pty.slave.toStdString());
    QtPort port(map);
    port.setCommPort(3);
    port.setSettings("9600,N,8,1");
    port.setRTSEnable(false);
    port.setDTREnable(false);
    port.setPortOpen(true);
    QVERIFY(port.portOpen());
    QCOMPARE(pty.line().c_ospeed, speed_t(9600));
    // No modem lines on a pty: CTS reads asserted, DSR off, line changes are ignored.
    QVERIFY(!port.modemLinesSupported());
    QVERIFY(port.ctsHolding());
    QVERIFY(!port.dsrHolding());
    port.setRTSEnable(true);
    port.setDTREnable(true);
    QVERIFY(port.portOpen());

    // Non-standard rates really reach the device, on the open port.
    for (int rate : {307200, 31250, 76800, 153600, 56000}) {
      port.setSettings(std::to_string(rate) + ",N,8,1");
      QCOMPARE(pty.line().c_ospeed, speed_t(rate));
    }
    port.setSettings("307200,o,8,1");
    QVERIFY(pty.line().c_cflag & PARODD);
    QVERIFY(!(pty.line().c_cflag & CMSPAR));
    // Mark and back to odd on the open port: stick parity must not stay behind.
    port.setSettings("307200,M,8,1");
    QVERIFY(pty.line().c_cflag & CMSPAR);
    port.setSettings("307200,O,8,1");
    QVERIFY(port.portOpen());
    QVERIFY(pty.line().c_cflag & PARODD);
    QVERIFY(!(pty.line().c_cflag & CMSPAR));
    QCOMPARE(port.settings(), std::string("307200,O,8,1"));

    // The number cannot change under an open port; closing twice is harmless.
    QVERIFY_THROWS_EXCEPTION(SerialError, port.setCommPort(4));
    QVERIFY_THROWS_EXCEPTION(SerialError, port.setPortOpen(true));
    port.setPortOpen(false);
    port.setPortOpen(false);
    QVERIFY(!port.portOpen());
  }

  void settingsGivenBeforeOpenApplyAtOpen() {
    PortOnPty on;
    auto& [pty, map, port] = on;
    port.setCommPort(1);
    port.setSettings("76800,N,8,1");
    port.setPortOpen(true);
    QCOMPARE(pty.line().c_ospeed, speed_t(76800));
  }

  void bytesTravelBothWaysWithEvents() {
    PortOnPty on;
    auto& [pty, map, port] = on;
    std::vector<CommEvent> events;
    port.onComm = [&](CommEvent ev) { events.push_back(ev); };
    port.setCommPort(1);
    port.setSettings("9600,N,8,1");
    port.setPortOpen(true);

    // Written bytes reach the master; a write of n bytes with send threshold n raises Send.
    port.setSThreshold(4);
    port.output({0x01, 0x02, 0xFE, 0xFF});
    QCOMPARE(pty.read(4), (Bytes{0x01, 0x02, 0xFE, 0xFF}));
    QTRY_VERIFY(std::count(events.begin(), events.end(), CommEvent::Send) == 1);

    // Receive threshold 0: bytes are buffered, no event.
    events.clear();
    port.setRThreshold(0);
    pty.write({0x10, 0x11});
    QTest::qWait(50);
    QVERIFY(events.empty());
    QCOMPARE(port.input(), (Bytes{0x10, 0x11}));

    // Threshold 3: no event for 2 bytes, an event once the third is buffered.
    port.setRThreshold(3);
    pty.write({0x20, 0x21});
    QTest::qWait(50);
    QVERIFY(events.empty());
    pty.write({0x22});
    QTRY_VERIFY(!events.empty());
    QCOMPARE(events.front(), CommEvent::Receive);
    QCOMPARE(port.input(), (Bytes{0x20, 0x21, 0x22}));
    QVERIFY(port.input().empty());

    pty.write({0x30});
    QTest::qWait(50);
    port.discardInput();
    QVERIFY(port.input().empty());
  }

  void secondOpenOfABusyDeviceFailsWith8005() {
    Pty pty;
    ComPortMap map;
    map.pin(1, pty.slave.toStdString());
    QtPort first(map), second(map);
    first.setPortOpen(true);
    try {
      second.setPortOpen(true);
      QFAIL("opened twice");
    } catch (const SerialError& e) {
      QCOMPARE(e.number, kPortFailure);
    }
  }

  void writesTheDriverCannotTakeAtOnceWaitInOrder() {
    PortOnPty on;
    auto& [pty, map, port] = on;
    int sends = 0;
    port.onComm = [&](CommEvent ev) { sends += ev == CommEvent::Send; };
    port.setPortOpen(true);

    // More than a pseudo-terminal holds: the driver takes a part, the rest waits in the port,
    // and a later write queues behind it instead of overtaking it.
    Bytes big(256 * 1024);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = std::uint8_t(i * 7 + i / 251);
    port.setSThreshold(1024);
    port.output(big);
    port.output({0xAA, 0xBB});
    Bytes expected = big;
    expected.insert(expected.end(), {0xAA, 0xBB});

    const Bytes got = pty.read(expected.size(), 10000);
    QCOMPARE(got.size(), expected.size());
    QVERIFY(got == expected);
    // One send event, once the queue fell below the threshold.
    QTRY_COMPARE(sends, 1);
    QTest::qWait(50);
    QCOMPARE(sends, 1);
  }

  void vanishedDeviceClosesThePortOnce() {
    PortOnPty on;
    auto& [pty, map, port] = on;
    std::vector<CommEvent> events;
    port.onComm = [&](CommEvent ev) { events.push_back(ev); };
    port.setRThreshold(1);
    port.setPortOpen(true);
    pty.closeMaster();
    QTRY_VERIFY_WITH_TIMEOUT(!port.portOpen(), 2000);
    QVERIFY_THROWS_EXCEPTION(SerialError, port.output({0x01}));
    QCOMPARE(port.problem.kind, PortProblem::Kind::Gone);
    // One event says so, even with nothing written; nothing keeps firing once it is closed.
    QTest::qWait(100);
    QCOMPARE(events, std::vector<CommEvent>{CommEvent::PortFailed});
    port.setPortOpen(false);
  }

  void writeToAVanishedDeviceFailsAndClosesThePort() {
    // The write finds the device gone before the event loop has noticed it.
    PortOnPty on;
    auto& [pty, map, port] = on;
    port.setPortOpen(true);
    pty.closeMaster();
    QVERIFY_THROWS_EXCEPTION(SerialError, port.output({0x01, 0x02}));
    QVERIFY(!port.portOpen());
    QTest::qWait(20);
    port.setPortOpen(false);
    QVERIFY(!port.portOpen());
  }

  void timerIntervalZeroNeverFiresAndEnablingRestarts() {
    QtEventLoop loop;
    CommTimer timer(loop);
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    timer.setEnabled(true);
    QTest::qWait(60);
    QCOMPARE(ticks, 0);

    timer.setInterval(40);
    QElapsedTimer since;
    since.start();
    QTest::qWait(25);
    timer.setEnabled(true);  // restarts: the first tick comes 40 ms from here
    since.restart();
    QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 1000);
    QVERIFY2(since.elapsed() >= 38, qPrintable(QString::number(since.elapsed())));
    timer.setEnabled(false);
    QTest::qWait(80);
    QCOMPARE(ticks, 1);
  }

  void crLfBecomesNewline() {
    QCOMPARE(displayText("a\r\nb\r\n\r\nc"), QString("a\nb\n\nc"));
  }
};

QTEST_MAIN(QtPlatformTest)
#include "qt_platform_test.moc"
