// A small scripted controller in boot mode for flash tests: it frames what the PC sends,
// answers like a good controller (erase, program, verify, baud-rate switch, two security
// statuses), and lets a test replace any reply or withhold it.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "platform/virtual/device.h"

namespace vq::test {

inline Bytes status1(std::uint8_t st1) {
  return {0x02, 0x01, st1, std::uint8_t(0x100 - ((0x01 + st1) & 0xFF)), 0x03};
}
inline Bytes status2(std::uint8_t st1, std::uint8_t st2) {
  return {0x02, 0x02, st1, st2, std::uint8_t(0x100 - ((0x02 + st1 + st2) & 0xFF)), 0x03};
}
inline Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class FakeBootController : public virt::Device {
 public:
  static constexpr std::size_t kFlashSize = 131072;

  struct Frame {
    Bytes bytes;
    int baud = 0;           // the PC's rate while it arrived
    std::int64_t endUs = 0;  // when its last byte had arrived
    std::uint8_t kind() const { return bytes.empty() ? 0 : bytes[0]; }
    std::uint8_t com() const { return kind() == 0x01 && bytes.size() > 2 ? bytes[2] : 0xFF; }
  };

  // Replies to frame number `index` (0-based over all frames). nullopt = the good
  // controller's answer; an empty vector = no answer at all; otherwise each element is sent
  // as written, the next one completionGapUs after the previous.
  std::function<std::optional<std::vector<Bytes>>(const Frame&, std::size_t index)> script;

  std::vector<Frame> frames;
  int syncZeros = 0;
  int rate = 9600;            // the rate the controller listens at
  int wrongRateBytes = 0;     // bytes that came at another rate (garbage to real hardware)
  int dsrOnReadings = 0;      // DSR reads on this many times, then off
  mutable int dsrReadings = 0;
  bool dtr = false, rts = false;
  std::int64_t replyDelayUs = 300;     // controller's think time before a status
  std::int64_t completionGapUs = 0;    // between back-to-back statuses
  std::array<std::uint8_t, kFlashSize> flash{};

  FakeBootController() { flash.fill(0xAB); }  // the old firmware

  void attach(virt::DeviceHost* h) override { host_ = h; }
  bool dsr() const override { return dsrReadings++ < dsrOnReadings; }
  void modemOut(bool d, bool r) override {
    dtr = d;
    rts = r;
  }
  void portOpened(bool) override { cur_.clear(); }

  void receive(std::uint8_t b, const LineSettings& pc) override {
    if (pc.baud != rate) {
      ++wrongRateBytes;
      return;
    }
    if (cur_.empty() && b == 0x00) {
      ++syncZeros;
      return;
    }
    cur_.push_back(b);
    if (cur_.size() < 2) return;
    std::size_t want = cur_[0] == 0x01 ? std::size_t(cur_[1]) + 4 : (cur_[1] == 0 ? 256 : cur_[1]) + 4;
    if (cur_.size() < want) return;
    Frame f{cur_, pc.baud, host_->nowUs()};
    cur_.clear();
    frames.push_back(f);
    std::optional<std::vector<Bytes>> out;
    if (script) out = script(f, frames.size() - 1);
    if (!out) out = answer(f);
    else act(f);
    std::int64_t at = replyDelayUs;
    for (const Bytes& r : *out) {
      host_->after(at, [this, r] { host_->transmit(r); });
      at += completionGapUs;
    }
  }

  // Frames of one command code, or data frames (kind 0x02) when com is -1.
  std::size_t count(int com) const {
    std::size_t n = 0;
    for (const auto& f : frames)
      if (com < 0 ? f.kind() == 0x02 : (f.kind() == 0x01 && f.com() == com)) ++n;
    return n;
  }

 private:
  enum class Mode { None, Program, Verify, Security };

  // What the frame does to the controller, whatever the test makes it answer.
  void act(const Frame& f) {
    if (f.kind() == 0x01) {
      switch (f.com()) {
        case 0x20: flash.fill(0xFF); break;
        case 0x40: mode_ = Mode::Program; block_ = 0; break;
        case 0x13: mode_ = Mode::Verify; block_ = 0; break;
        case 0xA0: mode_ = Mode::Security; break;
        case 0x9A: {
          static constexpr int rates[] = {9600, 19200, 31250, 38400, 76800, 153600};
          const int d = f.bytes[3] - 3;
          if (d >= 0 && d < 6) rate = rates[d];
          break;
        }
        default: break;
      }
      return;
    }
    if (f.bytes[1] == 0 && block_ < 512) {
      const std::size_t base = block_ * 256;
      verifyOk_ = true;
      for (std::size_t j = 0; j < 256; ++j) {
        if (mode_ == Mode::Program) flash[base + j] = f.bytes[2 + j];
        if (mode_ == Mode::Verify && flash[base + j] != f.bytes[2 + j]) verifyOk_ = false;
      }
      ++block_;
    }
  }

  std::vector<Bytes> answer(const Frame& f) {
    const Mode before = mode_;
    act(f);
    if (f.kind() == 0x01) {
      if (f.com() == 0x9A) return {};
      return {status1(0x06)};
    }
    if (f.bytes[1] == 2 && before == Mode::Security) return {status1(0x06), status1(0x06)};
    const bool last = f.bytes.back() == 0x03;
    if (mode_ == Mode::Verify) return {status2(0x06, verifyOk_ ? 0x06 : 0x0F)};
    if (last) return {status2(0x06, 0x06), status1(0x06)};
    return {status2(0x06, 0x06)};
  }

  virt::DeviceHost* host_ = nullptr;
  Bytes cur_;
  Mode mode_ = Mode::None;
  std::size_t block_ = 0;
  bool verifyOk_ = true;
};

}  // namespace vq::test
