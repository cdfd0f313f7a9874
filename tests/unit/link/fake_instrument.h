// A small scripted instrument for link tests: answers the seven commands the tool issues, keeps
// what is written, and lets a test replace any reply (pieces, delays, silence, bad frames).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/instrument_frame.h"
#include "link/bas_function.h"
#include "platform/virtual/device.h"

namespace vq::test {

// Bytes of a reply frame with a correct checksum (unless the test spoils it afterwards).
inline Bytes replyFrame(std::uint8_t cmd, std::uint8_t status, std::uint8_t dir, const Bytes& data) {
  Bytes b(5, 0xFF);
  for (std::uint8_t x : {cmd, status, dir, std::uint8_t(data.size())}) b.push_back(x);
  for (std::uint8_t x : data) b.push_back(x);
  std::uint8_t sum = cmd ^ status ^ dir ^ std::uint8_t(data.size());
  for (auto d : data) sum ^= d;
  b.push_back(sum);
  return b;
}

inline Bytes textBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// One piece of a reply: sent `delayUs` after the previous piece (the first after the request).
struct Piece {
  std::int64_t delayUs;
  Bytes bytes;
};
using Pieces = std::vector<Piece>;

class FakeInstrument : public virt::Device {
 public:
  // What the instrument keeps.
  std::string model = "VQA-7001";
  std::string serial = " 54321";
  std::uint8_t cmd04 = 5, cmd06 = 7, fwMain = 12, fwRev = 3;
  std::uint8_t mode = 0;  // 0 normal, 1 PC mode, 2 PC mode with access code
  int inits = 0;          // parameter initialisations done

  std::int64_t replyDelayUs = 300;       // from the end of a request to the start of its reply
  std::int64_t initDelayUs = 2'000'000;  // initialising takes the instrument a while
  std::function<bool()> ctsFn;           // clear-to-send; asserted when unset

  // Requests as received, in order, and anything a real instrument would not accept.
  std::vector<InstrumentFrame> requests;
  std::vector<std::string> violations;

  // Replaces the reply to a request: return pieces (empty = silence) or nothing for the
  // default. `nth` counts the requests with this command number, from 1.
  std::function<std::optional<Pieces>(const InstrumentFrame& req, int nth)> script;
  // A script under which the instrument never answers one command and answers the rest.
  static auto silentOn(std::uint8_t command) {
    return [command](const InstrumentFrame& r, int) -> std::optional<Pieces> {
      if (r.Command == command) return Pieces{};
      return std::nullopt;
    };
  }

  int count(std::uint8_t cmd) const {
    int n = 0;
    for (const auto& r : requests) n += r.Command == cmd;
    return n;
  }

  void attach(virt::DeviceHost* h) override { host_ = h; }
  bool cts() const override { return ctsFn ? ctsFn() : true; }

  void receive(std::uint8_t byte, const LineSettings& pc) override {
    if (!(pc == *parseLineSettings("307200,O,8,1"))) violations.push_back("line settings " + formatLineSettings(pc));
    if (buf_.empty() && byte != 0xFF) {
      violations.push_back("byte outside a frame");
      return;
    }
    buf_.push_back(byte);
    if (buf_.size() < 9) return;
    const std::size_t total = std::size_t(buf_[8]) + 11;
    if (buf_.size() < total) return;
    InstrumentFrame f;
    decodeReply(buf_, f);
    if (f.Length == 0) f.Data.clear();
    if (buf_[total - 1] != 0x00) violations.push_back("trailing byte not 0");
    if (f.Status != 0) violations.push_back("status of a request not 0");
    if (!fncCheckSum(f)) violations.push_back("checksum");
    for (int i = 0; i < 5; ++i)
      if (f.Sync[std::size_t(i)] != 0xFF) violations.push_back("sync");
    buf_.clear();
    requests.push_back(f);
    int nth = count(f.Command);
    std::optional<Pieces> p = script ? script(f, nth) : std::nullopt;
    send(p ? *p : answer(f));
  }

  void portOpened(bool) override { buf_.clear(); }

  // The reply a sound instrument gives, applying what the request writes.
  Pieces answer(const InstrumentFrame& r) {
    const bool write = r.Direction == 1;
    Bytes data;
    std::int64_t delay = replyDelayUs;
    if (write && r.Command != 127 && mode == 0) violations.push_back("write outside PC mode");
    switch (r.Command) {
      case 1:
        if (write) model = std::string(r.Data.begin(), r.Data.end());
        else data = textBytes(model);
        break;
      case 2:
        if (write) serial = std::string(r.Data.begin(), r.Data.end());
        else data = textBytes(serial);
        break;
      case 4:
        if (write) cmd04 = r.Data.at(0);
        else data = {cmd04, 0};
        break;
      case 5: data = {fwMain, fwRev}; break;
      case 6: data = {cmd06, 0}; break;
      case 124:
        if (mode != 2) violations.push_back("initialise without access code");
        model.assign(8, ' ');
        serial.assign(6, ' ');
        cmd04 = 0;
        ++inits;
        delay = initDelayUs;
        break;
      case 127: {
        const std::string code(r.Data.begin() + 1, r.Data.end());
        const std::uint8_t kind = r.Data.at(0);
        if (kind == 2 && code != "318642" && code != "47205813") violations.push_back("access code " + code);
        if (kind != 2 && code != "318642") violations.push_back("mode code " + code);
        mode = kind;
        data = {mode};
        break;
      }
      default: violations.push_back("unknown command"); break;
    }
    return {{delay, replyFrame(r.Command, 0, r.Direction, data)}};
  }

  void send(const Pieces& pieces) {
    std::int64_t at = 0;
    for (const auto& p : pieces) {
      at += p.delayUs;
      Bytes b = p.bytes;
      host_->after(at, [this, b] { host_->transmit(b); });
    }
  }

 private:
  virt::DeviceHost* host_ = nullptr;
  Bytes buf_;
};

}  // namespace vq::test
