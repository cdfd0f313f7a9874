#include "platform/native/serial_port.h"

#include <cstdio>

#include "platform/native/port_diagnosis.h"

namespace vq::native {

namespace {
// How often the CTS line is read for the CTS-change event; the link's tick is 10 ms.
constexpr int kCtsPollMs = 10;
// The longest wait for queued bytes to reach the driver before a settings change.
constexpr int kDrainMs = 2000;
// One read takes what a pseudo-terminal or an adapter holds at a time.
constexpr std::size_t kReadChunk = 4096;
}  // namespace

NativeSerialPort::NativeSerialPort(const ComPortMap& map, EventLoop& loop) : map_(map), loop_(loop) {
  line_ = *parseLineSettings(settingsText_);
  ctsPoll_ = loop_.timer(false, [this] { pollCts(); });
  sendDue_ = loop_.timer(true, [this] { if (portOpen()) raise(CommEvent::Send); });
  failDue_ = loop_.timer(true, [this] {
    if (!failed_) return;
    closePort();
    raise(CommEvent::PortFailed);
  });
}

NativeSerialPort::~NativeSerialPort() { closePort(); }

void NativeSerialPort::setCommPort(int n) {
  if (portOpen()) throw SerialError(kPortFailure, "port already open");
  commPort_ = n;
}

void NativeSerialPort::setSettings(const std::string& text) {
  auto s = parseLineSettings(text);
  // Serial drivers know 5 to 8 data bits and no 1.5 stop bits (Linux would set 1 instead).
  if (!s || s->dataBits < 5 || s->dataBits > 8 || s->stopBitsTimes2 == 3)
    throw SerialError(kPortSettingsRejected, "settings rejected: " + text);
  if (portOpen()) {
    // Bytes already written were meant for the old settings (the boot protocol's rate-switch
    // frame): let them leave the UART before the line changes under them.
    drainOutput();
    // The whole line at once, parity included: nothing of the old settings stays behind.
    std::string why;
    if (!device_.apply(*s, handshaking_, why))
      throw SerialError(kPortSettingsRejected, "settings rejected by the device: " + text + ": " + why);
  }
  line_ = *s;
  settingsText_ = text;
}

void NativeSerialPort::setHandshaking(int mode) {
  if (mode < 0 || mode > 3) throw SerialError(kPortFailure, "bad handshaking mode");
  std::string why;
  if (portOpen() && !device_.apply(line_, mode, why))
    throw SerialError(kPortSettingsRejected, "handshaking rejected by the device: " + why);
  handshaking_ = mode;
}

void NativeSerialPort::setPortOpen(bool open) {
  if (open == portOpen()) {
    if (open) throw SerialError(kPortFailure, "port already open");
    if (failed_) closePort();
    return;
  }
  if (open) openPort();
  else closePort();
}

void NativeSerialPort::openPort() {
  closePort();
  const std::string path = map_.pathFor(commPort_);
  if (path.empty()) {
    problem = {PortProblem::Kind::NoDevice, commPort_, "", ""};
    throw SerialError(kPortNoSuchDevice, "COM" + std::to_string(commPort_) + " maps to no device");
  }
  std::string why;
  switch (device_.open(path, line_, handshaking_, why)) {
    case SerialDevice::OpenResult::Opened: break;
    case SerialDevice::OpenResult::NoDevice:
      problem = {PortProblem::Kind::NoDevice, commPort_, path, ""};
      throw SerialError(kPortNoSuchDevice, why);
    case SerialDevice::OpenResult::Refused:
      problem = fncDiagnoseRefusedOpen(commPort_, path, diagnosis_);
      throw SerialError(kPortFailure, why);
    case SerialDevice::OpenResult::Failed:
      throw SerialError(kPortSettingsRejected, why + " (settings " + settingsText_ + ")");
  }
  failed_ = false;
  problem = {};
  sendArmed_ = false;
  received_.clear();
  queued_.clear();
  watch_ = loop_.watch(device_.waitable(), [this] { onReadable(); }, [this] { writeQueued(); });
  // A pseudo-terminal has no modem lines: reading them fails and the port stays usable.
  modemLines_ = device_.modemLines().has_value();
  applyOutputLines();
  lastCts_ = ctsHolding();
  if (modemLines_) ctsPoll_->start(kCtsPollMs);
}

void NativeSerialPort::closePort() {
  ctsPoll_->stop();
  sendDue_->stop();
  failDue_->stop();
  watch_.reset();
  device_.close();
  received_.clear();
  queued_.clear();
  failed_ = false;
  sendArmed_ = false;
}

void NativeSerialPort::drainOutput() {
  // Bounded by the line time of what is queued; returns at once on a pseudo-terminal.
  while (!queued_.empty() && !failed_ && device_.waitWritable(kDrainMs)) writeQueued();
  device_.drain();
}

void NativeSerialPort::applyOutputLines() {
  if (!device_.isOpen() || failed_) return;
  // Refused on a device without modem lines: keep going. Under hardware flow control the
  // driver owns RTS.
  if (handshaking_ < 2) device_.setRts(rts_);
  device_.setDtr(dtr_);
}

bool NativeSerialPort::readDevice() {
  std::uint8_t buf[kReadChunk];
  bool got = false;
  for (;;) {
    std::string why;
    const auto n = device_.read(buf, sizeof buf, why);
    if (!n) {
      fail(why);
      return false;
    }
    received_.insert(received_.end(), buf, buf + *n);
    got = got || *n > 0;
    if (*n < sizeof buf) break;
  }
  // Woken with nothing to read: a hang-up that the read itself did not report.
  if (!got && device_.hungUp()) {
    fail("the device hung up");
    return false;
  }
  return true;
}

void NativeSerialPort::onReadable() {
  if (failed_ || !device_.isOpen()) return;
  const std::size_t before = received_.size();
  if (!readDevice()) return;
  if (rThreshold_ > 0 && received_.size() > before && received_.size() >= std::size_t(rThreshold_))
    raise(CommEvent::Receive);
}

Bytes NativeSerialPort::input() {
  // What the driver holds is received too: a handler that reads outside the readable event
  // (a time-out served before it when both were due after a stall) sees a reply already there.
  if (device_.isOpen() && !failed_) readDevice();
  Bytes out;
  out.swap(received_);
  return out;
}

void NativeSerialPort::output(const Bytes& bytes) {
  if (!portOpen()) throw SerialError(kPortFailure, "port not open");
  const std::size_t queuedBefore = queued_.size();
  // Straight to the driver while nothing waits: the bytes are on their way before the caller
  // goes on, so a pause the protocol makes after a write (the sync bytes' gaps) falls between
  // bytes on the line. Only what the driver refuses now waits, behind what already waits.
  const std::size_t direct = queuedBefore == 0 ? writeToDevice(bytes.data(), bytes.size()) : 0;
  if (direct < bytes.size()) {
    queued_.insert(queued_.end(), bytes.begin() + std::ptrdiff_t(direct), bytes.end());
    watch_->setWriteEnabled(true);
  }
  // The send event: once what this write left queued falls below the threshold.
  if (sThreshold_ > 0 && queuedBefore + bytes.size() >= std::size_t(sThreshold_)) {
    if (queued_.size() >= std::size_t(sThreshold_)) sendArmed_ = true;
    else sendDue_->start(0);
  }
}

std::size_t NativeSerialPort::writeToDevice(const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    std::string why;
    const auto n = device_.write(data + done, size - done, why);
    if (!n) {
      fail(why);
      throw SerialError(kPortFailure, "write failed: " + why);
    }
    if (*n == 0) break;  // the driver's buffer is full
    done += *n;
  }
  return done;
}

void NativeSerialPort::writeQueued() {
  if (failed_ || queued_.empty()) return;
  std::size_t n = 0;
  try {
    n = writeToDevice(queued_.data(), queued_.size());
  } catch (const SerialError&) {
    return;  // failed: the close and its event are on their way
  }
  queued_.erase(queued_.begin(), queued_.begin() + std::ptrdiff_t(n));
  if (queued_.empty()) watch_->setWriteEnabled(false);
  if (sendArmed_ && queued_.size() < std::size_t(sThreshold_)) {
    sendArmed_ = false;
    // A drain inside a settings change can get here; the event belongs to the loop.
    sendDue_->start(0);
  }
}

void NativeSerialPort::discardInput() {
  device_.discardInput();
  received_.clear();
}

void NativeSerialPort::discardOutput() {
  device_.discardOutput();
  queued_.clear();
  if (watch_) watch_->setWriteEnabled(false);
  sendArmed_ = false;
  sendDue_->stop();
}

void NativeSerialPort::setRTSEnable(bool on) {
  rts_ = on;
  applyOutputLines();
}

void NativeSerialPort::setDTREnable(bool on) {
  dtr_ = on;
  applyOutputLines();
}

bool NativeSerialPort::ctsHolding() const {
  if (!modemLines_ || !device_.isOpen()) return true;
  const auto m = device_.modemLines();
  return m && m->cts;
}

bool NativeSerialPort::dsrHolding() const {
  if (!modemLines_ || !device_.isOpen()) return false;
  const auto m = device_.modemLines();
  return m && m->dsr;
}

void NativeSerialPort::pollCts() {
  if (!portOpen()) return;
  const bool cts = ctsHolding();
  if (cts == lastCts_) return;
  lastCts_ = cts;
  raise(CommEvent::CtsChange);
}

void NativeSerialPort::fail(const std::string& why) {
  if (failed_ || !device_.isOpen()) return;
  // The device vanished (the cable pulled, the adapter reset): the port reports itself closed
  // now, and a protocol waiting for a reply (or for the 124 bound, or the erase) hears of it
  // at the loop's next pass, where the close cannot pull the watch from under its own call.
  failed_ = true;
  problem = {PortProblem::Kind::Gone, commPort_, map_.pathFor(commPort_), ""};
  ctsPoll_->stop();
  sendDue_->stop();
  if (watch_) {
    watch_->setReadEnabled(false);
    watch_->setWriteEnabled(false);
  }
  std::fprintf(stderr, "serial port %s failed: %s\n", problem.device.c_str(), why.c_str());
  failDue_->start(0);
}

void NativeSerialPort::raise(CommEvent ev) {
  if (!onComm) return;
  try {
    onComm(ev);
  } catch (const std::exception& ex) {
    // The loop must not be unwound; the steps catch their own port failures.
    std::fprintf(stderr, "serial event handler failed: %s\n", ex.what());
  }
}

}  // namespace vq::native
