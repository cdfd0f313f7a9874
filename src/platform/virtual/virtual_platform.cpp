#include "platform/virtual/virtual_platform.h"

#include <algorithm>

namespace vq::virt {

// ---- clock ----

std::uint64_t VirtualClock::after(std::int64_t delayUs, std::function<void()> fn) {
  Key k{now_ + std::max<std::int64_t>(0, delayUs), ++seq_};
  events_.emplace(k, std::move(fn));
  byId_.emplace(k.seq, k);
  return k.seq;
}

void VirtualClock::cancel(std::uint64_t id) {
  auto it = byId_.find(id);
  if (it == byId_.end()) return;
  events_.erase(it->second);
  byId_.erase(it);
}

int VirtualClock::runDue() {
  int n = 0;
  while (!events_.empty() && events_.begin()->first.at <= now_) {
    auto it = events_.begin();
    auto fn = std::move(it->second);
    byId_.erase(it->first.seq);
    events_.erase(it);
    fn();
    ++n;
  }
  return n;
}

void VirtualClock::runUntil(std::int64_t untilUs) {
  while (!events_.empty() && events_.begin()->first.at <= untilUs) runNext();
  now_ = std::max(now_, untilUs);
}

bool VirtualClock::runNext() {
  if (events_.empty()) return false;
  now_ = std::max(now_, events_.begin()->first.at);
  runDue();
  return true;
}

// ---- timer ----

void VirtualTimer::setInterval(int ms) {
  interval_ = ms;
  if (enabled_) arm();
}

void VirtualTimer::setEnabled(bool on) {
  enabled_ = on;
  arm();
}

void VirtualTimer::arm() {
  if (pending_) clock_.cancel(pending_);
  pending_ = 0;
  ++armings_;
  if (!enabled_ || interval_ <= 0) return;
  pending_ = clock_.after(std::int64_t(interval_) * 1000, [this] {
    pending_ = 0;
    arm();  // periodic, like a window timer
    if (held_) {
      expiredArming_ = armings_;
      return;
    }
    if (onTick) onTick();
  });
}

void VirtualTimer::release() {
  held_ = false;
  const bool due = expiredArming_ != 0 && expiredArming_ == armings_ && enabled_;
  expiredArming_ = 0;
  if (due && onTick) onTick();
}

// ---- serial port ----

void VirtualSerialPort::attach(Device* d) {
  device_ = d;
  if (d) {
    d->attach(this);
    lastCts_ = d->cts();
  }
}

void VirtualSerialPort::setCommPort(int n) {
  if (open_) throw SerialError(kPortFailure, "port already open");
  port_ = n;
}

void VirtualSerialPort::setSettings(const std::string& text) {
  auto s = parseLineSettings(text);
  // As on Linux: 5 to 8 data bits, no 1.5 stop bits.
  if (!s || s->dataBits < 5 || s->dataBits > 8 || s->stopBitsTimes2 == 3)
    throw SerialError(kPortSettingsRejected, "settings rejected: " + text);
  settings_ = *s;
  settingsText_ = text;
}

void VirtualSerialPort::setHandshaking(int mode) {
  if (mode < 0 || mode > 3) throw SerialError(kPortFailure, "bad handshaking");
  handshaking_ = mode;
}

void VirtualSerialPort::setPortOpen(bool open) {
  if (open == open_) {
    if (open) throw SerialError(kPortFailure, "port already open");
    return;
  }
  if (open) {
    if (std::find(existingPorts.begin(), existingPorts.end(), port_) == existingPorts.end())
      throw SerialError(kPortNoSuchDevice, "no such port");
    if (std::find(busyPorts.begin(), busyPorts.end(), port_) != busyPorts.end())
      throw SerialError(kPortFailure, "port in use");
    open_ = true;
    ++opens;
    inBuf_.clear();
    if (device_) {
      device_->portOpened(true);
      lastCts_ = device_->cts();
    }
  } else {
    open_ = false;
    ++generation_;
    inBuf_.clear();
    txPending_ = 0;
    if (device_) device_->portOpened(false);
  }
}

Bytes VirtualSerialPort::input() {
  Bytes out;
  out.swap(inBuf_);
  return out;
}

void VirtualSerialPort::output(const Bytes& bytes) {
  if (!open_) throw SerialError(kPortFailure, "port not open");
  written.push_back({clock_.nowUs(), bytes, settingsText_});
  if (onOutput) onOutput(bytes);
  const std::int64_t perByte = settings_.lineTimeUs(1);
  std::int64_t t = std::max(clock_.nowUs(), txBusyUntil_);
  const LineSettings sent = settings_;
  const auto gen = generation_;
  txPending_ += int(bytes.size());
  for (std::uint8_t b : bytes) {
    t += perByte;
    clock_.after(t - clock_.nowUs(), [this, b, sent, gen] {
      if (gen != generation_) return;
      const int before = txPending_--;
      if (sThreshold_ > 0 && before >= sThreshold_ && txPending_ < sThreshold_) raise(CommEvent::Send);
      if (device_) device_->receive(b, sent);
    });
  }
  txBusyUntil_ = t;
}

void VirtualSerialPort::discardOutput() {
  // Bytes already handed to the line go on; nothing is buffered ahead of it here.
}

void VirtualSerialPort::setRTSEnable(bool on) {
  rts_ = on;
  if (device_) device_->modemOut(dtr_, rts_);
}

void VirtualSerialPort::setDTREnable(bool on) {
  dtr_ = on;
  if (device_) device_->modemOut(dtr_, rts_);
}

void VirtualSerialPort::transmit(const Bytes& bytes) {
  const std::int64_t perByte = settings_.lineTimeUs(1);
  std::int64_t t = std::max(clock_.nowUs(), rxBusyUntil_);
  const auto gen = generation_;
  for (std::uint8_t b : bytes) {
    t += perByte;
    clock_.after(t - clock_.nowUs(), [this, b, gen] {
      if (gen == generation_ && open_) deliver(b);
    });
  }
  rxBusyUntil_ = t;
}

void VirtualSerialPort::deliver(std::uint8_t b) {
  inBuf_.push_back(b);
  auto check = [this] {
    receiveCheckPending_ = false;
    if (open_ && rThreshold_ > 0 && int(inBuf_.size()) >= rThreshold_) raise(CommEvent::Receive);
  };
  if (coalesceUs <= 0) {
    check();
  } else if (!receiveCheckPending_) {
    receiveCheckPending_ = true;
    clock_.after(coalesceUs, check);
  }
}

void VirtualSerialPort::modemChanged() {
  if (!device_) return;
  bool cts = device_->cts();
  if (cts != lastCts_) {
    lastCts_ = cts;
    if (open_) raise(CommEvent::CtsChange);
  }
}

void VirtualSerialPort::raise(CommEvent ev) {
  if (held_) {
    if (std::find(heldEvents_.begin(), heldEvents_.end(), ev) == heldEvents_.end()) heldEvents_.push_back(ev);
    return;
  }
  if (onComm) onComm(ev);
}

void VirtualSerialPort::release() {
  held_ = false;
  std::vector<CommEvent> due;
  due.swap(heldEvents_);
  for (CommEvent ev : due) {
    // A receive event stands only while its bytes are there to read.
    if (ev == CommEvent::Receive && !(open_ && rThreshold_ > 0 && int(inBuf_.size()) >= rThreshold_)) continue;
    raise(ev);
  }
}

// ---- platform ----

VirtualPlatform::VirtualPlatform() {
  installPlatform(this, &port, &timer);
  installWindows(this);
}

VirtualPlatform::~VirtualPlatform() {
  installWindows(nullptr);
  installPlatform(nullptr, nullptr, nullptr);
}

void VirtualPlatform::doEvents() {
  ++doEventsCalls;
  clock.runDue();
}

void VirtualPlatform::waitEvents() {
  ++waitEventsCalls;
  if (clock.runDue() > 0) return;
  if (clock.nowUs() > limitUs) throw HangError("virtual time limit passed");
  if (!clock.runNext()) throw HangError("waitEvents() with nothing scheduled: the program would hang");
}

void VirtualPlatform::messageBox(const std::string& text) {
  messages.push_back(text);
  if (onMessageBox) onMessageBox(text);
}

bool VirtualPlatform::askYesNo(const std::string& text) {
  questions.push_back(text);
  if (yesNoAnswers.empty()) return false;
  const bool yes = yesNoAnswers.front();
  yesNoAnswers.pop_front();
  return yes;
}

std::string VirtualPlatform::openFileDialog(const std::string& description, const std::string& pattern) {
  fileFilters.push_back(description + "|" + pattern);
  if (fileAnswers.empty()) return "";
  std::string a = fileAnswers.front();
  fileAnswers.pop_front();
  return a;
}

std::string VirtualPlatform::deviceName(int comPort) {
  auto it = deviceNames.find(comPort);
  return it == deviceNames.end() ? "" : it->second;
}

void VirtualPlatform::showForceUpdateDialog() {
  if (onForceUpdateDialog) onForceUpdateDialog();
}

void VirtualPlatform::showPortConfDialog() {
  if (onPortConfDialog) onPortConfDialog();
}

void VirtualPlatform::stall(std::int64_t us, StallWake wake) {
  timer.hold();
  port.hold();
  clock.runUntil(clock.nowUs() + us);
  if (wake == StallWake::TimerFirst) {
    timer.release();
    port.release();
  } else {
    port.release();
    timer.release();
  }
}

bool VirtualPlatform::runUntil(const std::function<bool()>& pred, std::int64_t limit) {
  const std::int64_t end = clock.nowUs() + limit;
  while (!pred()) {
    if (clock.nowUs() > end || clock.idle()) return false;
    waitEvents();
  }
  return true;
}

}  // namespace vq::virt
