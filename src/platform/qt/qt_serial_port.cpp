#include "platform/qt/qt_serial_port.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/qt/low_latency.h"
#include "platform/qt/port_diagnosis.h"
#include "platform/qt/termios2_flags.h"

#include <QDebug>

namespace vq::qt {
namespace {

// How often the CTS line is read for the CTS-change event; the link's tick is 10 ms.
constexpr int kCtsPollMs = 10;
// A vanished device is noticed within this even when nothing is written to it.
constexpr int kHangupWatchMs = 50;
// The longest wait for queued bytes to reach the driver before a settings change.
constexpr int kDrainMs = 2000;

QSerialPort::Parity toQt(char parity) {
  switch (parity) {
    case 'O': return QSerialPort::OddParity;
    case 'E': return QSerialPort::EvenParity;
    case 'M': return QSerialPort::MarkParity;
    case 'S': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
  }
}

QSerialPort::FlowControl flowOf(int mode) {
  return mode == 1 ? QSerialPort::SoftwareControl : mode >= 2 ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl;
}

}  // namespace

QtSerialPort::QtSerialPort(const ComPortMap& map, QObject* parent) : QObject(parent), map_(map) {
  line_ = *parseLineSettings(settingsText_);
  ctsPoll_.setTimerType(Qt::PreciseTimer);
  ctsPoll_.setInterval(kCtsPollMs);
  connect(&ctsPoll_, &QTimer::timeout, this, &QtSerialPort::pollCts);
  hangupWatch_.setInterval(kHangupWatchMs);
  connect(&hangupWatch_, &QTimer::timeout, this, &QtSerialPort::watchHangup);
  sendDue_.setSingleShot(true);
  sendDue_.setInterval(0);
  connect(&sendDue_, &QTimer::timeout, this, [this] { if (portOpen()) raise(CommEvent::Send); });
  connect(&port_, &QSerialPort::readyRead, this, &QtSerialPort::onReadyRead);
  connect(&port_, &QSerialPort::bytesWritten, this, &QtSerialPort::onBytesWritten);
  connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() { closePort(); }

void QtSerialPort::setCommPort(int n) {
  if (portOpen()) throw SerialError(kPortFailure, "port already open");
  commPort_ = n;
}

void QtSerialPort::setSettings(const std::string& text) {
  auto s = parseLineSettings(text);
  // Linux serial drivers know 5 to 8 data bits and no 1.5 stop bits; QSerialPort would turn
  // 1.5 silently into 1, so refuse it here.
  if (!s || s->dataBits < 5 || s->dataBits > 8 || s->stopBitsTimes2 == 3)
    throw SerialError(kPortSettingsRejected, "settings rejected: " + text);
  if (portOpen()) {
    // Bytes already written were meant for the old settings (the boot protocol's rate-switch
    // frame): let them leave the UART before the line changes under them.
    drainOutput();
    if (s->parity != line_.parity) {
      // A parity change on an open port can leave CMSPAR set (Mark/Space -> Odd stays Mark),
      // and fails outright at a non-standard rate: apply it to a closed device.
      const LineSettings old = line_;
      closePort();
      line_ = *s;
      try {
        openPort();
      } catch (const SerialError&) {
        line_ = old;
        throw;
      }
    } else if (!applyChanges(line_, *s)) {
      const std::string why = port_.errorString().toStdString();
      port_.clearError();
      applyChanges(*s, line_);
      port_.clearError();
      throw SerialError(kPortSettingsRejected, "settings rejected by the device: " + text + ": " + why);
    }
  }
  line_ = *s;
  settingsText_ = text;
}

void QtSerialPort::setHandshaking(int mode) {
  if (mode < 0 || mode > 3) throw SerialError(kPortFailure, "bad handshaking mode");
  if (portOpen() && !applyHandshaking(mode)) {
    port_.clearError();
    throw SerialError(kPortSettingsRejected, "handshaking rejected by the device");
  }
  handshaking_ = mode;
}

void QtSerialPort::setPortOpen(bool open) {
  if (open == portOpen()) {
    if (open) throw SerialError(kPortFailure, "port already open");
    if (failed_) closePort();
    return;
  }
  if (open) openPort();
  else closePort();
}

void QtSerialPort::openPort() {
  if (port_.isOpen()) closePort();
  const QString path = map_.pathFor(commPort_);
  if (path.isEmpty()) {
    problem = {PortProblem::Kind::NoDevice, commPort_, "", ""};
    throw SerialError(kPortNoSuchDevice, "COM" + std::to_string(commPort_) + " maps to no device");
  }
  port_.setPortName(path);
  // On a closed QSerialPort the setters only store; open() applies them all, the rate last.
  port_.setBaudRate(line_.baud);
  port_.setDataBits(static_cast<QSerialPort::DataBits>(line_.dataBits));
  port_.setParity(toQt(line_.parity));
  port_.setStopBits(line_.stopBitsTimes2 == 4 ? QSerialPort::TwoStop : QSerialPort::OneStop);
  port_.setFlowControl(flowOf(handshaking_));
  port_.clearError();
  if (!port_.open(QIODevice::ReadWrite)) {
    const auto err = port_.error();
    const std::string why = path.toStdString() + ": " + port_.errorString().toStdString();
    port_.clearError();
    if (err == QSerialPort::DeviceNotFoundError) {
      problem = {PortProblem::Kind::NoDevice, commPort_, path.toStdString(), ""};
      throw SerialError(kPortNoSuchDevice, why);
    }
    if (err == QSerialPort::PermissionError || err == QSerialPort::OpenError) {
      problem = fncDiagnoseRefusedOpen(commPort_, path.toStdString());
      throw SerialError(kPortFailure, why);
    }
    throw SerialError(kPortSettingsRejected, why + " (settings " + settingsText_ + ")");
  }
  failed_ = false;
  problem = {};
  sendArmed_ = false;
  lowLatency_.enable(int(port_.handle()));
  if (handshaking_ == 3 && !addXonXoff(static_cast<int>(port_.handle()))) {
    closePort();
    throw SerialError(kPortSettingsRejected, path.toStdString() + " refuses Xon/Xoff with RTS/CTS");
  }
  // A pseudo-terminal has no modem lines: reading them fails and the port stays usable.
  port_.pinoutSignals();
  modemLines_ = port_.error() != QSerialPort::UnsupportedOperationError;
  port_.clearError();
  applyOutputLines();
  lastCts_ = ctsHolding();
  if (modemLines_) ctsPoll_.start();
  hangupWatch_.start();
}

void QtSerialPort::closePort() {
  ctsPoll_.stop();
  hangupWatch_.stop();
  sendDue_.stop();
  if (port_.isOpen()) {
    lowLatency_.restore(int(port_.handle()));
    port_.close();
  }
  port_.clearError();
  failed_ = false;
  sendArmed_ = false;
}

void QtSerialPort::drainOutput() {
  if (!port_.isOpen()) return;
  // Bounded by the line time of what is queued; returns at once on a pseudo-terminal.
  while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(kDrainMs)) {
  }
  if (port_.handle() >= 0) ::tcdrain(port_.handle());
}

bool QtSerialPort::applyChanges(const LineSettings& from, const LineSettings& to) {
  // Only what changed: the rate switch of the boot protocol must not touch the other fields.
  if (to.dataBits != from.dataBits && !port_.setDataBits(static_cast<QSerialPort::DataBits>(to.dataBits))) return false;
  if (to.stopBitsTimes2 != from.stopBitsTimes2 &&
      !port_.setStopBits(to.stopBitsTimes2 == 4 ? QSerialPort::TwoStop : QSerialPort::OneStop))
    return false;
  if (to.baud != from.baud && !port_.setBaudRate(to.baud)) return false;
  return true;
}

bool QtSerialPort::applyHandshaking(int mode) {
  if (!port_.setFlowControl(flowOf(mode))) return false;
  // QSerialPort has no "both": add Xon/Xoff to the hardware flow control by hand.
  return mode != 3 || addXonXoff(static_cast<int>(port_.handle()));
}

void QtSerialPort::applyOutputLines() {
  if (!port_.isOpen()) return;
  // Refused on a device without modem lines or under hardware flow control: keep going.
  port_.setRequestToSend(rts_);
  port_.setDataTerminalReady(dtr_);
  port_.clearError();
}

Bytes QtSerialPort::input() {
  if (!port_.isOpen()) return {};
  const QByteArray all = port_.readAll();
  return Bytes(all.begin(), all.end());
}

void QtSerialPort::output(const Bytes& bytes) {
  if (!portOpen()) throw SerialError(kPortFailure, "port not open");
  const qint64 queuedBefore = port_.bytesToWrite();
  // Straight to the driver while nothing waits in QSerialPort's queue: its own path arms a
  // write notifier and wakes the event loop several times per write, which a flash of a
  // thousand frames pays for in CPU. It also puts the bytes on the line before the caller goes
  // on, so a pause the protocol makes after a write (the sync bytes' gaps) falls between bytes
  // on the line. Only what the driver refuses now is queued.
  const std::size_t direct = queuedBefore == 0 ? writeToDriver(bytes) : 0;
  if (direct < bytes.size()) {
    const auto rest = qint64(bytes.size() - direct);
    if (port_.write(reinterpret_cast<const char*>(bytes.data() + direct), rest) != rest)
      throw SerialError(kPortFailure, "write failed: " + port_.errorString().toStdString());
  }
  // The send event: once what this write left queued falls below the threshold.
  if (sThreshold_ > 0 && queuedBefore + qint64(bytes.size()) >= sThreshold_) {
    if (port_.bytesToWrite() >= sThreshold_) sendArmed_ = true;
    else sendDue_.start();
  }
  // What waits is written by QSerialPort as the driver makes room (flush() would report a
  // full driver as a write error).
}

std::size_t QtSerialPort::writeToDriver(const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(int(port_.handle()), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += std::size_t(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      const std::string why = std::strerror(errno);
      fail(QString::fromStdString(why));
      throw SerialError(kPortFailure, "write failed: " + why);
    } else {
      break;  // the driver's buffer is full: QSerialPort queues the rest
    }
  }
  return done;
}

void QtSerialPort::discardInput() {
  if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

void QtSerialPort::discardOutput() {
  if (port_.isOpen()) port_.clear(QSerialPort::Output);
  sendArmed_ = false;
  sendDue_.stop();
}

void QtSerialPort::setRTSEnable(bool on) {
  rts_ = on;
  applyOutputLines();
}

void QtSerialPort::setDTREnable(bool on) {
  dtr_ = on;
  applyOutputLines();
}

QSerialPort::PinoutSignals QtSerialPort::pins() const {
  if (!port_.isOpen() || !modemLines_) return {};
  const auto p = port_.pinoutSignals();
  port_.clearError();
  return p;
}

bool QtSerialPort::ctsHolding() const {
  if (!modemLines_ || !port_.isOpen()) return true;
  return pins().testFlag(QSerialPort::ClearToSendSignal);
}

bool QtSerialPort::dsrHolding() const {
  if (!modemLines_ || !port_.isOpen()) return false;
  return pins().testFlag(QSerialPort::DataSetReadySignal);
}

void QtSerialPort::onReadyRead() {
  if (failed_ || rThreshold_ <= 0) return;
  if (port_.bytesAvailable() >= rThreshold_) raise(CommEvent::Receive);
}

void QtSerialPort::onBytesWritten() {
  if (failed_ || !sendArmed_ || port_.bytesToWrite() >= sThreshold_) return;
  sendArmed_ = false;
  // waitForBytesWritten() in a settings change can get here; the event belongs to the event
  // loop, not to the middle of the caller's call.
  sendDue_.start();
}

void QtSerialPort::watchHangup() {
  if (!portOpen()) return;
  // A device that went away while nobody writes to it (a step waiting for a reply) raises no
  // error of its own on some drivers: the descriptor only reports the hang-up.
  pollfd p{int(port_.handle()), 0, 0};
  if (::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL))) fail("the device hung up");
}

void QtSerialPort::pollCts() {
  if (!portOpen()) return;
  const bool cts = ctsHolding();
  if (cts == lastCts_) return;
  lastCts_ = cts;
  raise(CommEvent::CtsChange);
}

void QtSerialPort::onError(QSerialPort::SerialPortError e) {
  if (e != QSerialPort::ReadError && e != QSerialPort::ResourceError && e != QSerialPort::WriteError) return;
  fail(port_.errorString());
}

void QtSerialPort::fail(const QString& why) {
  if (failed_ || !port_.isOpen()) return;
  // The device vanished. QSerialPort would keep reporting the error and stay "open"; report
  // the port closed now and close it once control is back in the event loop (closing here
  // would delete the notifier that is calling us).
  failed_ = true;
  problem = {PortProblem::Kind::Gone, commPort_, map_.pathFor(commPort_).toStdString(), ""};
  ctsPoll_.stop();
  hangupWatch_.stop();
  sendDue_.stop();
  qWarning("serial port %s failed: %s", qPrintable(port_.portName()), qPrintable(why));
  // A protocol waiting for a reply (or for the 124 bound, or the erase) hears of it at once.
  QMetaObject::invokeMethod(this, [this] {
    if (!failed_) return;
    closePort();
    raise(CommEvent::PortFailed);
  }, Qt::QueuedConnection);
}

void QtSerialPort::raise(CommEvent ev) {
  if (!onComm) return;
  try {
    onComm(ev);
  } catch (const std::exception& ex) {
    // Qt's event loop must not be unwound; the steps catch their own port failures.
    qWarning("serial event handler failed: %s", ex.what());
  }
}

}  // namespace vq::qt
