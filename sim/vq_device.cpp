#include "vq_device.h"

#include <algorithm>
#include <cstdio>

namespace vq::sim {
namespace {

constexpr LineSettings kBootSettings{9600, 'N', 8, 2};
constexpr int kSyncBytes = 5;       // 0xFF bytes that open an instrument request
constexpr int kSyncZeros = 2;       // 0x00 bytes that let the boot controller lock on
constexpr std::uint8_t kSoh = 0x01, kStx = 0x02, kEtx = 0x03, kEtb = 0x17;
constexpr std::uint8_t kComReset = 0x00, kComClock = 0x90, kComBaud = 0x9A, kComErase = 0x20,
                       kComWrite = 0x40, kComSecurity = 0xA0, kComVerify = 0x13;
constexpr std::uint8_t kClockData[4] = {0x04, 0x09, 0x01, 0x04};
constexpr std::uint8_t kSecurityData[2] = {0xF7, 0x00};
constexpr int kBootRates[] = {9600, 19200, 31250, 38400, 76800, 153600};  // D = 3 .. 8

std::string hex2(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02X", v & 0xFF);
  return b;
}

std::uint8_t twosComplementSum(const Bytes& f, std::size_t from, std::size_t to) {
  unsigned s = 0;
  for (std::size_t i = from; i < to; ++i) s += f[i];
  return std::uint8_t(0x100 - (s & 0xFF));
}

bool same(const LineSettings& a, const LineSettings& b) {
  return a.baud == b.baud && a.parity == b.parity && a.dataBits == b.dataBits && a.stopBitsTimes2 == b.stopBitsTimes2;
}

}  // namespace

const char* modeName(DeviceMode m) {
  switch (m) {
    case DeviceMode::Off: return "off";
    case DeviceMode::Instrument: return "instrument";
    case DeviceMode::Boot: return "boot";
  }
  return "?";
}

Identity factoryBlankIdentity() {
  Identity id;
  id.model = std::string(8, ' ');
  id.serial = std::string(6, ' ');
  id.cmd04 = {0, 0};
  id.cmd06 = {0, 0};
  return id;
}

VqDevice::VqDevice(DeviceConfig cfg) : config(cfg) {
  UpdateFileOptions o;
  flash = flashImageOf(makeUpdateFile(o));
  // The factory image reports the configured version.
  flash[kVersionRecordOffset + 4] = cfg.fallbackVersion.main;
  flash[kVersionRecordOffset + 5] = cfg.fallbackVersion.rev;
}

std::int64_t VqDevice::now() const { return host_ ? host_->nowUs() : 0; }

void VqDevice::attach(virt::DeviceHost* host) {
  host_ = host;
  if (!host_) return;
  if (!powered()) {
    if (config.poweredAtAttach) powerOn();
    return;
  }
  // Switched on before it had a line: the DSR pulse starts now.
  startDsrPulse();
}

// ---- front panel ----

void VqDevice::powerOn() {
  if (powered()) return;
  ++epoch_;
  mode_ = switch_ == FwSwitch::Write ? DeviceMode::Boot : DeviceMode::Instrument;
  pcMode_ = 0;
  initUnlocked_ = initPending_ = false;
  syncFF_ = 0;
  inFrame_.clear();
  bootBaud_ = 9600;
  syncZeros_ = 0;
  resetSeen_ = clockSet_ = erased_ = written_ = false;
  phase_ = Phase::None;
  bootFrame_.clear();
  bootTotal_ = 0;
  frames_.push_back({now(), false, "", {}, std::string("power on, ") + modeName(mode_) + " mode"});
  startDsrPulse();
}

void VqDevice::startDsrPulse() {
  dsr_ = config.dsrOnUs > 0 || faults.dsrStuckOn;
  if (!host_) return;
  host_->modemChanged();
  if (dsr_ && !faults.dsrStuckOn) {
    const auto e = epoch_;
    host_->after(config.dsrOnUs, [this, e] {
      if (e != epoch_) return;
      dsr_ = false;
      host_->modemChanged();
    });
  }
}

void VqDevice::powerOff() {
  if (!powered()) return;
  ++epoch_;
  mode_ = DeviceMode::Off;
  dsr_ = false;
  frames_.push_back({now(), false, "", {}, "power off"});
  if (host_) host_->modemChanged();
}

void VqDevice::powerCycle() {
  powerOff();
  powerOn();
}

FirmwareVersion VqDevice::firmwareVersion() const {
  auto v = versionInFlash(flash);
  return v ? *v : config.fallbackVersion;
}

LineSettings VqDevice::expectedSettings() const {
  if (mode_ == DeviceMode::Boot) {
    LineSettings s = kBootSettings;
    s.baud = bootBaud_;
    return s;
  }
  return config.link;
}

// ---- line ----

void VqDevice::receive(std::uint8_t byte, const LineSettings& pcSettings) { onByte(byte, &pcSettings, 1); }

void VqDevice::receiveEither(std::uint8_t byte, const LineSettings& now, const LineSettings& before) {
  const LineSettings c[2] = {now, before};
  onByte(byte, c, 2);
}

bool VqDevice::autoSwitch(std::uint8_t b, const LineSettings* cands, int n) {
  auto any = [&](const LineSettings& want) {
    for (int i = 0; i < n; ++i)
      if (same(cands[i], want)) return true;
    return false;
  };
  const bool idle = inFrame_.empty() && bootFrame_.empty();
  if (!idle) return false;
  // Boot-mode settings and a sync zero: the operator set "W" and restarted.
  if (b == 0x00 && any(kBootSettings) && !(mode_ == DeviceMode::Boot && bootBaud_ == kBootSettings.baud)) {
    setSwitch(FwSwitch::Write);
    powerCycle();
    frames_.push_back({now(), false, "", {}, "auto switch: W"});
    return true;
  }
  // Link settings and an instrument sync byte: the operator set "-" and restarted.
  if (b == 0xFF && any(config.link) && mode_ != DeviceMode::Instrument) {
    setSwitch(FwSwitch::Normal);
    powerCycle();
    frames_.push_back({now(), false, "", {}, "auto switch: -"});
    return true;
  }
  return false;
}

void VqDevice::onByte(std::uint8_t b, const LineSettings* cands, int n) {
  if (config.autoSwitch) autoSwitch(b, cands, n);
  if (!powered()) return;
  dropPartialIfStale();
  lastByteUs_ = now();
  const LineSettings want = expectedSettings();
  const LineSettings* match = nullptr;
  for (int i = 0; i < n && !match; ++i)
    if (same(cands[i], want)) match = &cands[i];
  if (!match) {
    garbage(cands[0]);
    return;
  }
  const std::string settings = formatLineSettings(*match);
  if (mode_ == DeviceMode::Instrument) instrumentByte(b, settings);
  else bootByte(b, settings);
}

void VqDevice::dropPartialIfStale() {
  if (now() - lastByteUs_ <= config.frameGapUs) return;
  if (!inFrame_.empty()) violation("incomplete instrument frame of " + std::to_string(inFrame_.size()) + " bytes dropped");
  if (!bootFrame_.empty()) violation("incomplete boot frame of " + std::to_string(bootFrame_.size()) + " bytes dropped");
  inFrame_.clear();
  bootFrame_.clear();
  bootTotal_ = 0;
  syncFF_ = 0;
}

void VqDevice::garbage(const LineSettings& seen) {
  // To the device these bytes are noise: they break any frame in progress.
  inFrame_.clear();
  bootFrame_.clear();
  bootTotal_ = 0;
  syncFF_ = 0;
  std::string text = "bytes at " + formatLineSettings(seen) + " while expecting " + formatLineSettings(expectedSettings());
  if (!violations_.empty() && violations_.back().text == text && now() - violations_.back().atUs < 1'000'000) {
    ++violations_.back().repeat;
    return;
  }
  violations_.push_back({now(), text});
}

void VqDevice::violation(const std::string& text) { violations_.push_back({now(), text}); }

void VqDevice::logIn(const Bytes& f, const std::string& settings, const std::string& note) {
  frames_.push_back({now(), true, settings, f, note});
}

// ---- replies and faults ----

VqDevice::Occurrence VqDevice::count(const std::string& kind, const std::string& umbrella) {
  return {kind, ++counts_[kind], umbrella, ++counts_[umbrella]};
}

bool VqDevice::deadOn(const Occurrence& occ) {
  for (const auto& f : faults.faults) {
    if (f.action != FaultAction::Dead) continue;
    if ((f.kind == occ.kind && f.covers(occ.n)) || (f.kind == occ.umbrella && f.covers(occ.un))) {
      frames_.push_back({now(), false, "", {}, "fault: power lost on " + occ.kind + " #" + std::to_string(occ.n)});
      powerOff();
      return true;
    }
  }
  return false;
}

VqDevice::ReplyPlan VqDevice::plan(const Occurrence& occ, Bytes frame, bool boot) const {
  ReplyPlan p;
  bool corrupt = false;
  for (const auto& f : faults.faults) {
    if (!((f.kind == occ.kind && f.covers(occ.n)) || (f.kind == occ.umbrella && f.covers(occ.un)))) continue;
    switch (f.action) {
      case FaultAction::Drop: p.drop = true; break;
      case FaultAction::Corrupt: corrupt = true; break;
      case FaultAction::Join: p.join = true; break;
      case FaultAction::Delay: p.extraDelayUs += f.delayUs; break;
      case FaultAction::Pieces:
        p.pieceSize = f.pieceSize;
        p.gapUs = f.gapUs;
        break;
      case FaultAction::Trail: frame.insert(frame.end(), std::size_t(f.trailing), 0x00); break;
      case FaultAction::Status:
        if (boot) {
          frame[2] = std::uint8_t(f.st1);
          if (frame[1] == 2 && f.st2 >= 0) frame[3] = std::uint8_t(f.st2);
          std::size_t sumAt = std::size_t(frame[1]) + 2;
          frame[sumAt] = twosComplementSum(frame, 1, sumAt);
        } else {
          frame[6] = std::uint8_t(f.st1);
          std::size_t n = frame[8];
          std::uint8_t x = 0;
          for (std::size_t i = 5; i < 9 + n; ++i) x ^= frame[i];
          frame[9 + n] = x;
        }
        break;
      case FaultAction::Dead: break;  // handled when the frame arrived
    }
  }
  if (corrupt) {
    std::size_t sumAt = boot ? std::size_t(frame[1]) + 2 : 9 + std::size_t(frame[8]);
    frame[sumAt] ^= 0x5A;
  }
  p.bytes = std::move(frame);
  return p;
}

void VqDevice::transmitNow(const Bytes& bytes, const std::string& what) {
  if (!powered() || !host_) return;
  frames_.push_back({now(), false, formatLineSettings(expectedSettings()), bytes, what});
  host_->transmit(bytes);
}

void VqDevice::send(const ReplyPlan& p, std::int64_t delayUs, const std::string& what, const ReplyPlan* follow,
                    std::int64_t followDelayUs, const std::string& followWhat) {
  if (!host_) return;
  const auto e = epoch_;
  const std::int64_t at = delayUs + p.extraDelayUs;
  Bytes first = p.drop ? Bytes{} : p.bytes;
  std::string firstWhat = what;
  if (p.drop) frames_.push_back({now(), false, "", {}, "fault: reply dropped (" + what + ")"});
  if (follow && p.join && !follow->drop) {
    first.insert(first.end(), follow->bytes.begin(), follow->bytes.end());
    firstWhat += " + " + followWhat;
  }
  if (!first.empty()) {
    const int piece = p.pieceSize > 0 ? p.pieceSize : int(first.size());
    std::int64_t t = at;
    for (std::size_t off = 0; off < first.size(); off += std::size_t(piece), t += p.gapUs) {
      Bytes part(first.begin() + std::ptrdiff_t(off),
                 first.begin() + std::ptrdiff_t(std::min(first.size(), off + std::size_t(piece))));
      std::string label = part.size() == first.size() ? firstWhat : firstWhat + " (piece)";
      host_->after(t, [this, e, part, label] {
        if (e == epoch_) transmitNow(part, label);
      });
    }
  }
  if (follow && !p.join) {
    ReplyPlan f = *follow;
    send(f, at + followDelayUs, followWhat);
  } else if (follow && follow->drop) {
    frames_.push_back({now(), false, "", {}, "fault: reply dropped (" + followWhat + ")"});
  }
}

// ---- instrument ----

Bytes VqDevice::instrumentReply(std::uint8_t cmd, std::uint8_t status, std::uint8_t dir, const Bytes& data) const {
  Bytes f(kSyncBytes, 0xFF);
  f.push_back(cmd);
  f.push_back(status);
  f.push_back(dir);
  f.push_back(std::uint8_t(data.size()));
  f.insert(f.end(), data.begin(), data.end());
  std::uint8_t x = 0;
  for (std::size_t i = kSyncBytes; i < f.size(); ++i) x ^= f[i];
  f.push_back(x);
  return f;
}

void VqDevice::instrumentByte(std::uint8_t b, const std::string& settings) {
  if (inFrame_.empty()) {
    if (b == 0xFF) {
      ++syncFF_;
      return;
    }
    if (syncFF_ < kSyncBytes) {
      violation("stray byte " + hex2(b) + " outside an instrument frame");
      syncFF_ = 0;
      return;
    }
    inFrame_.assign(kSyncBytes, 0xFF);
    syncFF_ = 0;
  }
  inFrame_.push_back(b);
  // Request: sync, command, status, direction, length, data, checksum, trailing 0x00.
  if (inFrame_.size() >= 9 && inFrame_.size() == std::size_t(inFrame_[8]) + 11) {
    Bytes f;
    f.swap(inFrame_);
    instrumentFrame(f, settings);
  }
}

void VqDevice::instrumentFrame(const Bytes& f, const std::string& settings) {
  const std::uint8_t cmd = f[5], status = f[6], dir = f[7], len = f[8];
  const Bytes data(f.begin() + 9, f.begin() + 9 + len);
  const std::uint8_t sum = f[9 + len], trailer = f[10 + len];
  logIn(f, settings, "request " + std::to_string(cmd) + (dir ? " write" : " read"));
  const Occurrence occ = count("i" + std::to_string(cmd), "inst");
  if (deadOn(occ)) return;
  if (faults.instrumentSilent || firmwareMissing_) return;
  if (status != 0) violation("request " + std::to_string(cmd) + " with status byte " + hex2(status));
  if (trailer != 0) violation("request " + std::to_string(cmd) + " with trailing byte " + hex2(trailer) + " instead of 00");
  std::uint8_t x = 0;
  for (std::size_t i = 5; i < 9 + std::size_t(len); ++i) x ^= f[i];

  auto answer = [&](std::uint8_t st, const Bytes& d, std::int64_t delay, const std::string& what) {
    send(plan(occ, instrumentReply(cmd, st, dir, d), false), delay, what);
  };
  auto reject = [&](const std::string& why) {
    violation("request " + std::to_string(cmd) + " rejected: " + why);
    answer(kStatusRejected, {}, config.instrumentReplyUs, "reply " + std::to_string(cmd) + " rejected");
  };

  if (x != sum) return reject("checksum " + hex2(sum) + ", expected " + hex2(x));
  if (initPending_) {
    answer(kStatusBusy, {}, config.instrumentReplyUs, "reply " + std::to_string(cmd) + " busy");
    return;
  }
  const std::string text(data.begin(), data.end());
  if (cmd == 127) {
    if (dir == 1) {
      const std::uint8_t kind = data.empty() ? 0xFF : data[0];
      const std::string code = data.empty() ? "" : text.substr(1);
      const bool ok = ((kind == 0 || kind == 1) && code == kAccessCode) ||
                      (kind == 2 && (code == kAccessCode || code == kInitAccessCode));
      if (!ok) return reject("mode " + std::to_string(kind) + " with code \"" + code + "\"");
      pcMode_ = kind;
      initUnlocked_ = kind == 2 && code == kInitAccessCode;
    }
    Bytes reply(std::size_t(config.modeReplyLength == 1 ? 1 : 7), 0x00);
    reply[0] = std::uint8_t(pcMode_);
    answer(kStatusOk, reply, config.instrumentReplyUs, "reply 127 mode " + std::to_string(pcMode_));
    return;
  }
  if (pcMode_ == 0) return reject("not in PC mode");
  if (dir == 0) {
    Bytes d;
    switch (cmd) {
      case 1: d.assign(identity.model.begin(), identity.model.end()); d.resize(8, ' '); break;
      case 2: d.assign(identity.serial.begin(), identity.serial.end()); d.resize(6, ' '); break;
      case 4: d = {identity.cmd04[0], identity.cmd04[1]}; break;
      case 5: {
        auto v = firmwareVersion();
        d = {v.main, v.rev};
        break;
      }
      case 6: d = {identity.cmd06[0], identity.cmd06[1]}; break;
      default: return reject("no such read");
    }
    answer(kStatusOk, d, config.instrumentReplyUs, "reply " + std::to_string(cmd));
    return;
  }
  switch (cmd) {
    case 1:
      if (len != 8) return reject("length " + std::to_string(len));
      identity.model = text;
      break;
    case 2:
      if (len != 6) return reject("length " + std::to_string(len));
      identity.serial = text;
      break;
    case 4:
      if (len != 2) return reject("length " + std::to_string(len));
      identity.cmd04 = {data[0], data[1]};
      break;
    case 124: {
      if (pcMode_ != 2 || !initUnlocked_) return reject("parameter initialise without the 8-digit code");
      // The instrument is busy resetting its parameters; it answers when done.
      initPending_ = true;
      const auto e = epoch_;
      const ReplyPlan p = plan(occ, instrumentReply(cmd, kStatusOk, dir, {}), false);
      host_->after(config.initDelayUs, [this, e, p] {
        if (e != epoch_) return;
        initPending_ = false;
        identity = factoryBlankIdentity();
        send(p, 0, "reply 124");
      });
      return;
    }
    default: return reject("no such write");
  }
  answer(kStatusOk, {}, config.instrumentReplyUs, "reply " + std::to_string(cmd) + " stored");
}

// ---- boot controller ----

Bytes VqDevice::status5(std::uint8_t st1) {
  Bytes f{kStx, 0x01, st1, 0x00, kEtx};
  f[3] = twosComplementSum(f, 1, 3);
  return f;
}

Bytes VqDevice::status6(std::uint8_t st1, std::uint8_t st2) {
  Bytes f{kStx, 0x02, st1, st2, 0x00, kEtx};
  f[4] = twosComplementSum(f, 1, 4);
  return f;
}

void VqDevice::bootByte(std::uint8_t b, const std::string& settings) {
  if (bootFrame_.empty()) {
    if (b == 0x00) {
      ++syncZeros_;
      return;
    }
    if (b != kSoh && b != kStx) {
      violation("stray byte " + hex2(b) + " outside a boot frame");
      return;
    }
  }
  bootFrame_.push_back(b);
  if (bootFrame_.size() == 2) {
    const std::size_t len = bootFrame_[1];
    bootTotal_ = bootFrame_[0] == kSoh ? len + 4 : (len == 0 ? 256 : len) + 4;
  }
  if (bootFrame_.size() >= 2 && bootFrame_.size() == bootTotal_) {
    Bytes f;
    f.swap(bootFrame_);
    bootTotal_ = 0;
    if (f[0] == kSoh) bootCommand(f, settings);
    else bootData(f, settings);
  }
}

void VqDevice::bootCommand(const Bytes& f, const std::string& settings) {
  const std::size_t len = f[1];
  const std::uint8_t com = len >= 1 ? f[2] : 0xFF;
  const Bytes data(f.begin() + 3, f.begin() + 2 + std::ptrdiff_t(std::max<std::size_t>(len, 1)));
  std::string kind = "boot";
  switch (com) {
    case kComReset: kind = "reset"; break;
    case kComClock: kind = "clock"; break;
    case kComBaud: kind = "baud"; break;
    case kComErase: kind = "erase"; break;
    case kComWrite: kind = "wcmd"; break;
    case kComSecurity: kind = "scmd"; break;
    case kComVerify: kind = "vcmd"; break;
  }
  logIn(f, settings, "command " + hex2(com) + " (" + kind + ")");
  if (syncZeros_ < kSyncZeros) {
    violation("command " + hex2(com) + " before the two 0x00 sync bytes");
    return;
  }
  const Occurrence occ = count(kind, "boot");
  if (deadOn(occ)) return;
  if (phase_ != Phase::None) {
    violation("command " + hex2(com) + " while data frames were still expected");
    phase_ = Phase::None;
  }
  auto answer = [&](std::uint8_t st, std::int64_t delay, const std::string& what) {
    send(plan(occ, status5(st), true), delay, what);
  };
  if (len == 0) {
    violation("command frame with LEN 0");
    return answer(kNak, config.bootReplyUs, "status NAK");
  }
  if (twosComplementSum(f, 1, len + 2) != f[len + 2]) {
    violation("command " + hex2(com) + " with a wrong checksum");
    return answer(kChecksumFailure, config.bootReplyUs, "status checksum failure");
  }
  if (f[len + 3] != kEtx) violation("command " + hex2(com) + " ends with " + hex2(f[len + 3]) + " instead of ETX");

  auto addressRange = [&](std::uint32_t& start, std::uint32_t& end) {
    if (data.size() != 6) return false;
    start = std::uint32_t(data[0]) << 16 | std::uint32_t(data[1]) << 8 | data[2];
    end = std::uint32_t(data[3]) << 16 | std::uint32_t(data[4]) << 8 | data[5];
    return start <= end && end < kFlashSize && start % 256 == 0 && (end + 1) % 256 == 0;
  };

  switch (com) {
    case kComReset:
      resetSeen_ = true;
      return answer(kAck, config.bootReplyUs, "status ACK (reset)");
    case kComClock:
      if (!resetSeen_) violation("clock setting before reset");
      if (data.size() != 4 || !std::equal(data.begin(), data.end(), kClockData)) {
        violation("clock setting with unexpected data");
        return answer(kParamFailure, config.bootReplyUs, "status parameter failure (clock)");
      }
      clockSet_ = true;
      return answer(kAck, config.bootReplyUs, "status ACK (clock)");
    case kComBaud: {
      if (!clockSet_) violation("baud-rate setting before clock setting");
      const int d = data.size() == 1 ? data[0] : -1;
      if (d < 3 || d > 8) {
        violation("baud-rate setting with D " + std::to_string(d));
        return answer(kParamFailure, config.bootReplyUs, "status parameter failure (baud rate)");
      }
      // No reply: the controller moves to the new rate at once.
      bootBaud_ = kBootRates[d - 3];
      frames_.push_back({now(), false, "", {}, "boot rate now " + std::to_string(bootBaud_)});
      return;
    }
    case kComErase: {
      if (!clockSet_) violation("erase before clock setting");
      const auto e = epoch_;
      const ReplyPlan p = plan(occ, status5(kAck), true);
      host_->after(config.eraseUs, [this, e, p] {
        if (e != epoch_) return;
        std::fill(flash.begin(), flash.end(), 0xFF);
        erased_ = firmwareMissing_ = true;
        send(p, 0, "status ACK (erase)");
      });
      return;
    }
    case kComWrite:
    case kComVerify: {
      std::uint32_t start, end;
      if (!addressRange(start, end)) {
        violation("address range of command " + hex2(com) + " not usable");
        return answer(kParamFailure, config.bootReplyUs, "status parameter failure");
      }
      if (com == kComWrite && !erased_) violation("programming without erase");
      phase_ = com == kComWrite ? Phase::WriteData : Phase::VerifyData;
      nextAddr_ = start;
      endAddr_ = end;
      return answer(kAck, config.bootReplyUs, com == kComWrite ? "status ACK (write command)" : "status ACK (verify command)");
    }
    case kComSecurity:
      if (!written_) violation("security setting before the write completed");
      phase_ = Phase::SecurityData;
      return answer(kAck, config.bootReplyUs, "status ACK (security command)");
    default:
      violation("unknown command " + hex2(com));
      return answer(kNak, config.bootReplyUs, "status NAK");
  }
}

void VqDevice::bootData(const Bytes& f, const std::string& settings) {
  const std::size_t n = f[1] == 0 ? 256 : f[1];
  const Bytes data(f.begin() + 2, f.begin() + 2 + std::ptrdiff_t(n));
  const bool sumOk = twosComplementSum(f, 1, n + 2) == f[n + 2];
  const std::uint8_t endByte = f[n + 3];
  if (syncZeros_ < kSyncZeros || phase_ == Phase::None) {
    logIn(f, settings, "data frame");
    violation("data frame while no command awaits data");
    return;
  }
  if (phase_ == Phase::SecurityData) {
    logIn(f, settings, "security data");
    const Occurrence occ = count("sdata", "boot");
    if (deadOn(occ)) return;
    phase_ = Phase::None;
    if (!sumOk) {
      violation("security data with a wrong checksum");
      return send(plan(occ, status5(kChecksumFailure), true), config.bootReplyUs, "status checksum failure (security)");
    }
    if (endByte != kEtx) violation("security data ends with " + hex2(endByte) + " instead of ETX");
    if (n != 2 || data[0] != kSecurityData[0] || data[1] != kSecurityData[1]) {
      violation("security data other than F7 00");
      return send(plan(occ, status5(kParamFailure), true), config.bootReplyUs, "status parameter failure (security)");
    }
    security_ = {data[0], data[1]};
    const Occurrence occ2 = count("sdone", "boot");
    const ReplyPlan second = plan(occ2, status5(kAck), true);
    return send(plan(occ, status5(kAck), true), config.securityFirstUs, "status ACK (security 1)", &second,
                config.securitySecondUs, "status ACK (security 2)");
  }

  const bool writing = phase_ == Phase::WriteData;
  const std::uint32_t addr = nextAddr_;
  const bool last = addr + 256 > endAddr_;
  logIn(f, settings, std::string(writing ? "write" : "verify") + " block " + std::to_string(addr / 256));
  const Occurrence occ = count(writing ? "wdata" : "vdata", "boot");
  if (deadOn(occ)) return;
  if (!sumOk) {
    violation("data frame of block " + std::to_string(addr / 256) + " with a wrong checksum");
    return send(plan(occ, status6(kChecksumFailure, kChecksumFailure), true), config.bootReplyUs, "status checksum failure (data)");
  }
  if (n != 256) {
    violation("data frame of " + std::to_string(n) + " bytes in a block transfer");
    return send(plan(occ, status6(kParamFailure, kParamFailure), true), config.bootReplyUs, "status parameter failure (data)");
  }
  const std::uint8_t wantEnd = last ? kEtx : kEtb;
  if (endByte != wantEnd)
    violation("block " + std::to_string(addr / 256) + " ends with " + hex2(endByte) + " instead of " + hex2(wantEnd));
  nextAddr_ += 256;
  if (last) phase_ = Phase::None;

  if (!writing) {
    const bool equal = std::equal(data.begin(), data.end(), flash.begin() + addr);
    return send(plan(occ, status6(kAck, equal ? kAck : kVerifyFailure), true), config.verifyBlockUs,
                equal ? "status ACK (verify block)" : "status verify failure");
  }
  // Programming can only clear bits of erased cells; a cell already programmed fails the margin check.
  bool ok = true;
  for (std::size_t j = 0; j < 256; ++j) {
    if (data[j] == 0xFF) continue;
    if (flash[addr + j] != 0xFF) ok = false;
    flash[addr + j] &= data[j];
  }
  const ReplyPlan blockReply = plan(occ, status6(kAck, ok ? kAck : kWriteMarginFailure), true);
  if (!last) return send(blockReply, config.programBlockUs, ok ? "status ACK (write block)" : "status write failure");
  written_ = true;
  firmwareMissing_ = false;
  const Occurrence occ2 = count("wdone", "boot");
  const ReplyPlan completion = plan(occ2, status5(kAck), true);
  send(blockReply, config.programBlockUs, ok ? "status ACK (write block)" : "status write failure", &completion,
       config.completionUs, "status ACK (write completed)");
}

}  // namespace vq::sim
