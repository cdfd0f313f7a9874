// vq-sim as a child process for the end-to-end tests and the benchmark: a fresh temporary
// folder per run, the pseudo-terminal's link path, the control socket, the report, and update
// files made by vq-make-update-file (which sits beside vq-sim).
#pragma once
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>

namespace vq::e2e {

// Where the build put it; programs built without that word find it beside themselves.
inline QString simProgram() {
#ifdef VQ_SIM_PATH
  return QStringLiteral(VQ_SIM_PATH);
#else
  return QCoreApplication::applicationDirPath() + QStringLiteral("/vq-sim");
#endif
}
inline QString makeUpdateFileProgram() {
  return QFileInfo(simProgram()).absolutePath() + QStringLiteral("/vq-make-update-file");
}

// Runs a helper program to its end; its stderr on failure.
inline bool runTool(const QString& program, const QStringList& args, QString* error = nullptr) {
  QProcess p;
  p.start(program, args);
  const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  if (!ok && error) *error = program + ": " + QString::fromLocal8Bit(p.readAllStandardError()) + p.errorString();
  return ok;
}

// The simulator's report: key=value facts (first occurrence of each key) and every line as is.
struct SimReport {
  QMap<QString, QString> facts;
  QStringList lines;

  QString operator[](const QString& key) const { return facts.value(key); }
  bool has(const QString& key) const { return facts.contains(key); }
  // Lines starting with prefix, e.g. "frame " or "violation ".
  QStringList linesStarting(const QString& prefix) const {
    QStringList out;
    for (const QString& l : lines)
      if (l.startsWith(prefix)) out << l;
    return out;
  }

  static SimReport parse(const QByteArray& text) {
    SimReport r;
    for (const QByteArray& raw : text.split('\n')) {
      if (raw.isEmpty()) continue;
      const QString line = QString::fromUtf8(raw);
      r.lines << line;
      const qsizetype eq = line.indexOf('=');
      const qsizetype sp = line.indexOf(' ');
      // "model=VQA-7001" is a fact; "frame 123 in 9600,N,8,1 ..." is not, whatever it holds.
      if (eq > 0 && (sp < 0 || sp > eq)) {
        const QString key = line.left(eq);
        if (!r.facts.contains(key)) r.facts.insert(key, line.mid(eq + 1));
      }
    }
    return r;
  }
};

class SimProcess {
 public:
  SimProcess() = default;
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  ~SimProcess() { stop(); }

  QString dir() const { return dir_.path(); }
  // Unique per run: the serial port's lock file is named after it, and test programs may run
  // side by side.
  qint64 pid() const { return proc_.processId(); }
  QString linkPath() const { return dir_.filePath("ttyVQ-" + QFileInfo(dir_.path()).fileName()); }
  QString reportPath() const { return dir_.filePath("report.txt"); }
  QString controlPath() const { return dir_.filePath("control.sock"); }
  QString slavePath() const { return slave_; }
  const QString& error() const { return error_; }

  // Writes an update file into the run's folder; empty on failure (see error()).
  QString makeUpdateFile(const QString& name, const QStringList& args) {
    const QString out = dir_.filePath(name);
    if (!runTool(makeUpdateFileProgram(), QStringList{"--out", out} + args, &error_)) return {};
    return out;
  }

  // Starts vq-sim with the link, control socket and report in the run's folder plus args;
  // returns once it printed the slave path (the socket listens by then).
  bool start(const QStringList& args) {
    if (!dir_.isValid()) return fail("no temporary folder");
    proc_.setProgram(simProgram());
    // As root, the simulator answers at a real-time priority: its replies keep the device's
    // time on a loaded machine, and its report tells its own lateness from the program's.
    const QStringList realtime = ::geteuid() == 0 ? QStringList{"--realtime"} : QStringList{};
    proc_.setArguments(QStringList{"--no-stdin", "--link", linkPath(), "--control", controlPath(), "--report",
                                   reportPath()} +
                       realtime + args);
    proc_.setProcessChannelMode(QProcess::SeparateChannels);
    // A test that dies (a time-out aborts it) takes its simulator with it.
    proc_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    proc_.start();
    if (!proc_.waitForStarted(10000)) return fail("vq-sim did not start: " + proc_.errorString());
    QElapsedTimer t;
    t.start();
    while (!proc_.canReadLine()) {
      if (proc_.state() != QProcess::Running || t.elapsed() > 10000)
        return fail("vq-sim printed no slave path: " + QString::fromLocal8Bit(proc_.readAllStandardError()));
      proc_.waitForReadyRead(200);
    }
    slave_ = QString::fromLocal8Bit(proc_.readLine()).trimmed();
    return connectControl();
  }

  // One control line; returns vq-sim's answer line ("ok ..." or "error ...").
  QString control(const QString& line) {
    if (sock_ < 0 && !connectControl()) return "error no control socket: " + error_;
    QByteArray out = line.toUtf8() + '\n';
    for (const char* p = out.constData(); p < out.constData() + out.size();) {
      const ssize_t n = ::send(sock_, p, out.constData() + out.size() - p, MSG_NOSIGNAL);
      if (n <= 0) return "error control socket closed";
      p += n;
    }
    QByteArray answer;
    QElapsedTimer t;
    t.start();
    while (!answer.endsWith('\n')) {
      pollfd pfd{sock_, POLLIN, 0};
      if (t.elapsed() > 10000 || ::poll(&pfd, 1, 100) < 0) return "error no answer to " + line;
      if (!(pfd.revents & (POLLIN | POLLHUP))) continue;
      char c;
      if (::recv(sock_, &c, 1, 0) != 1) return "error control socket closed";
      answer += c;
    }
    return QString::fromUtf8(answer).trimmed();
  }
  bool ok(const QString& line) { return control(line).startsWith("ok"); }

  // Asks vq-sim to write its report now and reads it.
  SimReport report() {
    const QString answer = control("dump");
    if (!answer.startsWith("ok")) {
      error_ = answer;
      return {};
    }
    return readReport();
  }

  // The report as last written (by report() or on the way out after stop()).
  SimReport readReport() const {
    QFile f(reportPath());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return SimReport::parse(f.readAll());
  }

  // Ends vq-sim ("quit", then a kill if it does not go); the report is written on the way out.
  // False when it had to be killed.
  bool stop() {
    if (proc_.state() == QProcess::NotRunning) return true;
    if (sock_ >= 0) control("quit");
    closeControl();
    if (proc_.waitForFinished(10000)) return proc_.exitStatus() == QProcess::NormalExit;
    proc_.kill();
    proc_.waitForFinished(2000);
    return fail("vq-sim did not end on quit");
  }

 private:
  bool fail(const QString& why) {
    error_ = why;
    return false;
  }
  bool connectControl() {
    closeControl();
    const QByteArray path = QFile::encodeName(controlPath());
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (std::size_t(path.size()) >= sizeof addr.sun_path) return fail("control socket path too long");
    std::memcpy(addr.sun_path, path.constData(), path.size());
    sock_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (sock_ < 0 || ::connect(sock_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      closeControl();
      return fail("cannot connect to " + controlPath());
    }
    return true;
  }
  void closeControl() {
    if (sock_ >= 0) ::close(sock_);
    sock_ = -1;
  }

  QTemporaryDir dir_{QDir::tempPath() + "/vq-e2e-XXXXXX"};
  QProcess proc_;
  QString slave_;
  QString error_;
  int sock_ = -1;
};

}  // namespace vq::e2e
