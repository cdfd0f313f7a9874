// What the fuzz targets share: reading the fuzzer's bytes, the controller's status frames and
// what a boot stage's end must agree with, the link batches' start, a far end of the virtual
// line that plays bytes back at chosen moments, and a port that records what the program read.
// Each target drives the program's own code; nothing here decides a reply.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "base/param_store.h"
#include "base/state.h"
#include "base/wizard_codes.h"
#include "flash/boot_frames.h"
#include "link/bas_command_send.h"
#include "link/link_engine.h"
#include "platform/virtual/virtual_platform.h"

namespace vq::fuzz {

// A failed invariant: libFuzzer keeps the input as a crash.
#define VQ_FUZZ_CHECK(cond)                                                           \
  do {                                                                                \
    if (!(cond)) {                                                                    \
      std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

// A command line from the bytes: arguments separated by NUL bytes; with emptyIsOne, no bytes
// at all are one empty argument.
inline std::vector<std::string> argsOf(const std::uint8_t* data, std::size_t size, bool emptyIsOne = false) {
  std::vector<std::string> args;
  std::string cur;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(cur);
      cur.clear();
    } else {
      cur += char(data[i]);
    }
  }
  if (!cur.empty() || (emptyIsOne && size == 0)) args.push_back(cur);
  return args;
}

// The boot controller's status frames.
inline const Bytes kBootAck5 = {0x02, 0x01, 0x06, 0xF9, 0x03};
inline const Bytes kBootAck6 = {0x02, 0x02, 0x06, 0x06, 0xF2, 0x03};
inline const Bytes kBootNak5 = {0x02, 0x01, 0x15, 0xEA, 0x03};
constexpr int kVerdictOk = 0, kVerdictOutOfReach = -1;

// The verdict on a status frame, from its bytes alone.
inline int bootVerdict(const Bytes& rx) {
  const std::size_t len = rx[1];
  if (len + 2 >= rx.size()) return kVerdictOutOfReach;
  unsigned sum = 0;
  for (std::size_t i = 1; i <= len + 2; ++i) sum += rx[i];
  if ((sum & 0xFF) != 0) return 7;
  if (rx[2] != 0x06) return rx[2];
  if (rx.size() == 6 && rx[3] != 0x06) return 6;
  return kVerdictOk;
}

// What a good controller answers to a frame: a status, and a second one after the last write
// block and after the security data frame.
inline Bytes goodBootAnswer(const Bytes& f) {
  Bytes a = f.size() == 260 ? kBootAck6 : kBootAck5;
  if ((f.size() == 260 && f.back() == 0x03) || (f.size() == 6 && f[0] == 0x02)) a.insert(a.end(), kBootAck5.begin(), kBootAck5.end());
  return a;
}

// What a boot stage's end must agree with, given the verdicts on the replies it evaluated in
// order: success only after good ones, a time-out or a failed port with their codes, the
// resend rule's 17 bad replies, or else the first bad reply's own code.
inline void checkBootStageEnd(std::uint8_t result, bool runTimeFailure, bool portFailed, bool resends,
                              bool unansweredStage, const std::vector<int>& v) {
  if (runTimeFailure) {
    VQ_FUZZ_CHECK(!v.empty() && v.back() == kVerdictOutOfReach);
  } else if (result == 0) {
    VQ_FUZZ_CHECK(unansweredStage || !v.empty());
    VQ_FUZZ_CHECK(v.empty() || v.back() == kVerdictOk);
    if (!resends)
      for (int x : v) VQ_FUZZ_CHECK(x == kVerdictOk);
  } else if (result == kResultTimeout) {
    VQ_FUZZ_CHECK(gErrCode == kCodeFlashTimeout);
    if (!resends)
      for (int x : v) VQ_FUZZ_CHECK(x == kVerdictOk);
  } else if (result == kResultRunTimeFailure && portFailed) {
    VQ_FUZZ_CHECK(gErrCode == kCodeFlashRunTime);
  } else if (resends) {
    VQ_FUZZ_CHECK(result == kResultRetryOver && gErrCode == kCodeFlashRetries);
    VQ_FUZZ_CHECK(v.size() == 17);
    for (int x : v) VQ_FUZZ_CHECK(x != kVerdictOk && x != kVerdictOutOfReach);
  } else {
    VQ_FUZZ_CHECK(!v.empty() && v.back() == result);
    for (std::size_t i = 0; i + 1 < v.size(); ++i) VQ_FUZZ_CHECK(v[i] == kVerdictOk);
  }
}

// An instrument reply judged from its wire bytes alone, not with the engine's helpers: a status
// the link takes as an answer, and the XOR over command, status, direction, length and data.
inline bool linkStatusAccepted(std::uint8_t s) {
  static const std::uint8_t ok[] = {0, 31, 32, 33, 34, 37, 38, 39, 42, 54};
  return std::find(std::begin(ok), std::end(ok), s) != std::end(ok);
}
inline bool linkChecksumRight(const Bytes& f) {
  const std::size_t n = f[8];
  std::uint8_t x = 0;
  for (std::size_t i = 5; i < 9 + n; ++i) x ^= f[i];
  return x == f[9 + n];
}

// The link targets' start: the port as step 2 opens it, tmrComm stopped at the batch's tick,
// and one of the three batches queued (sel % 3: step 2's read, its initialisation, step 7's
// write-back); the index of its first request.
inline std::int32_t openLinkAndQueueBatch(SerialPort& port, std::uint8_t sel) {
  port.setSettings("307200,O,8,1");
  port.setRThreshold(1);
  port.setPortOpen(true);
  tmrComm().setEnabled(false);
  tmrComm().setInterval(kLinkTickMs);
  std::int32_t n = 0;
  gModelName = "VQ-1000A";
  gSerialNo = " 12345";
  switch (sel % 3) {
    case 0: queueReadBatch(n); break;
    case 1: queueInitBatch(n); break;
    default: queueWriteBackBatch(n); break;
  }
  return n;
}

class Reader {
 public:
  Reader(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
  bool empty() const { return pos_ >= n_; }
  std::uint8_t byte() { return pos_ < n_ ? d_[pos_++] : 0; }
  std::uint8_t peek() const { return pos_ < n_ ? d_[pos_] : 0; }
  Bytes take(std::size_t k) {
    const std::size_t m = k < n_ - pos_ ? k : n_ - pos_;
    Bytes b(d_ + pos_, d_ + pos_ + m);
    pos_ += m;
    return b;
  }

 private:
  const std::uint8_t* d_;
  std::size_t n_;
  std::size_t pos_ = 0;
};

// One piece of what the far end sends: after `delayUs` (counted from the previous piece, or
// from the PC write that starts its group), optionally flipping CTS first.
struct Piece {
  std::int64_t delayUs = 0;
  bool flipCts = false;
  bool startsGroup = false;  // waits for the PC's next write
  Bytes bytes;
};

// Piece header byte: bit 7 flips CTS, bit 6 starts a new group, bits 0-5 the delay; a second
// byte gives the length. Long delays come in whole seconds so time-outs are reachable.
inline std::vector<Piece> readPieces(Reader& in) {
  std::vector<Piece> out;
  while (!in.empty()) {
    const std::uint8_t h = in.byte();
    const std::uint8_t len = in.byte();
    Piece p;
    p.flipCts = h & 0x80;
    p.startsGroup = h & 0x40;
    const int d = h & 0x3F;
    p.delayUs = d < 48 ? std::int64_t(d) * 250 : std::int64_t(d - 47) * 1'000'000;
    p.bytes = in.take(len);
    out.push_back(std::move(p));
  }
  return out;
}

// The far end: sends what it is told when it is told, CTS as the pieces set it.
class PlaybackDevice : public virt::Device {
 public:
  void attach(virt::DeviceHost* h) override { host = h; }
  void receive(std::uint8_t, const LineSettings&) override {}
  bool cts() const override { return ctsOn; }
  bool dsr() const override { return false; }

  // Schedules pieces from `from` on, up to the next group start, from now; returns the end
  // index and the time of the last byte scheduled (line time not counted).
  std::size_t schedule(const std::vector<Piece>& pieces, std::size_t from, std::int64_t& lastUs) {
    std::int64_t t = 0;
    std::size_t i = from;
    for (; i < pieces.size(); ++i) {
      if (i > from && pieces[i].startsGroup) break;
      t += pieces[i].delayUs;
      const Piece* p = &pieces[i];
      host->after(t, [this, p] {
        if (p->flipCts) {
          ctsOn = !ctsOn;
          host->modemChanged();
        }
        if (!p->bytes.empty()) host->transmit(p->bytes);
      });
    }
    lastUs = host->nowUs() + t;
    return i;
  }

  virt::DeviceHost* host = nullptr;
  bool ctsOn = true;
};

// mscComm as the program sees it, with what each input() handed over kept for the checks.
class RecordingPort : public SerialPort {
 public:
  explicit RecordingPort(virt::VirtualSerialPort& p) : p_(p) {
    p_.onComm = [this](CommEvent e) {
      if (onComm) onComm(e);
    };
  }
  Bytes taken;    // bytes input() returned since the last clear
  int writes = 0; // output() calls
  std::function<void(const Bytes&)> onOutput;

  void setCommPort(int n) override { p_.setCommPort(n); }
  int commPort() const override { return p_.commPort(); }
  void setSettings(const std::string& t) override { p_.setSettings(t); }
  std::string settings() const override { return p_.settings(); }
  void setHandshaking(int m) override { p_.setHandshaking(m); }
  int handshaking() const override { return p_.handshaking(); }
  void setPortOpen(bool o) override { p_.setPortOpen(o); }
  bool portOpen() const override { return p_.portOpen(); }
  void setRThreshold(int n) override { p_.setRThreshold(n); }
  int rThreshold() const override { return p_.rThreshold(); }
  void setSThreshold(int n) override { p_.setSThreshold(n); }
  int sThreshold() const override { return p_.sThreshold(); }
  Bytes input() override {
    Bytes b = p_.input();
    taken.insert(taken.end(), b.begin(), b.end());
    return b;
  }
  void output(const Bytes& b) override {
    p_.output(b);
    ++writes;
    if (onOutput) onOutput(b);
  }
  void discardInput() override { p_.discardInput(); }
  void discardOutput() override { p_.discardOutput(); }
  void setRTSEnable(bool on) override { p_.setRTSEnable(on); }
  void setDTREnable(bool on) override { p_.setDTREnable(on); }
  bool ctsHolding() const override { return p_.ctsHolding(); }
  bool dsrHolding() const override { return p_.dsrHolding(); }

 private:
  virt::VirtualSerialPort& p_;
};

}  // namespace vq::fuzz
