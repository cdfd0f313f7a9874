// The fast targets' stand-ins for the port, tmrComm and the event loop: no line and no clock.
// Each wait of the program for events runs one step of a script (the fuzzer's bytes) that does
// what a port and a loop may do at that moment: bytes arrive (with or without their receive
// event yet), the timer fires, the send event or a failure comes, or a stall ends with the
// timer and the port's events both due, served in either order. Thousands of inputs a second
// instead of a handful through the virtual line.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "base/bytes.h"
#include "fuzz/fuzz_support.h"
#include "platform/platform.h"

namespace vq::fuzz {

// The port as the engines see it: bytes held until input(), events raised by the script.
class FakePort : public SerialPort {
 public:
  Bytes held;              // arrived, not yet taken by input()
  Bytes written;           // the last output()
  long writes = 0;
  long taken = 0;          // bytes handed out by input() since the last write
  bool cts = true;
  std::function<void(const Bytes&)> onOutput;

  void setCommPort(int n) override { com_ = n; }
  int commPort() const override { return com_; }
  void setSettings(const std::string& t) override { settings_ = t; }
  std::string settings() const override { return settings_; }
  void setHandshaking(int m) override { hs_ = m; }
  int handshaking() const override { return hs_; }
  void setPortOpen(bool o) override {
    open_ = o;
    held.clear();
  }
  bool portOpen() const override { return open_; }
  void setRThreshold(int n) override { rth_ = n; }
  int rThreshold() const override { return rth_; }
  void setSThreshold(int n) override { sth_ = n; }
  int sThreshold() const override { return sth_; }
  Bytes input() override {
    Bytes b;
    b.swap(held);
    taken += long(b.size());
    return b;
  }
  void output(const Bytes& b) override {
    if (!open_) throw SerialError(kPortFailure, "port not open");
    written = b;
    ++writes;
    taken = 0;
    if (onOutput) onOutput(b);
  }
  void discardInput() override { held.clear(); }
  void discardOutput() override {}
  void setRTSEnable(bool) override {}
  void setDTREnable(bool) override {}
  bool ctsHolding() const override { return cts; }
  bool dsrHolding() const override { return false; }

  // Bytes arrive; the receive event follows at once when `event` (a driver's batching may
  // deliver it later, or a stall hold it).
  void arrive(const Bytes& b, bool event) {
    if (!open_) return;
    held.insert(held.end(), b.begin(), b.end());
    if (event) receiveIfDue();
  }
  void receiveIfDue() {
    if (open_ && rth_ > 0 && held.size() >= std::size_t(rth_)) raise(CommEvent::Receive);
  }
  void raise(CommEvent e) {
    if (onComm) onComm(e);
  }
  // The device went away: closed from now on, as the native port reports itself.
  void fail() {
    open_ = false;
    held.clear();
    raise(CommEvent::PortFailed);
  }

 private:
  int com_ = 1, hs_ = 0, rth_ = 0, sth_ = 0;
  bool open_ = false;
  std::string settings_ = "9600,N,8,1";
};

class FakeTimer : public Timer {
 public:
  void setInterval(int ms) override { interval_ = ms; }
  int interval() const override { return interval_; }
  void setEnabled(bool on) override { enabled_ = on; }
  bool enabled() const override { return enabled_; }
  bool armed() const { return enabled_ && interval_ > 0; }
  // A tick, as a loop serves an expired timer: only while it is armed.
  void fire() {
    if (armed() && onTick) onTick();
  }

 private:
  int interval_ = 0;
  bool enabled_ = false;
};

// The loop: waitEvents() runs one step of the script; doEvents() runs one only when the script
// says a step may happen inside a yield. With the script spent, waits end by the timer alone:
// a wait with the timer not armed would hang the program, which is a failure.
class FakePlatform : public Platform {
 public:
  FakePlatform(Reader& in, FakeTimer& timer) : in_(in), timer_(timer) {}

  std::function<void(std::uint8_t op)> step;  // one scripted step, from its op byte
  std::function<bool()> before;               // serves a wait before the script when true
  long waits = 0, ticksAfterScript = 0;
  long sleptMs = 0;

  void doEvents() override {
    if (!in_.empty() && (in_.peek() & 0x80) && step) step(in_.byte());
  }
  void waitEvents() override {
    ++waits;
    if (before && before()) return;
    if (!in_.empty() && step) {
      step(in_.byte());
      return;
    }
    VQ_FUZZ_CHECK(timer_.armed());  // nothing else can end this wait
    ++ticksAfterScript;
    timer_.fire();
  }
  void sleepMs(int ms) override { sleptMs += ms; }
  void messageBox(const std::string&) override {}
  bool askYesNo(const std::string&) override { return false; }
  std::string openFileDialog(const std::string&, const std::string&) override { return ""; }
  int systemLangId() override { return 1033; }
  void setBusyCursor(bool) override {}
  int screenWidth() override { return 1920; }
  int screenHeight() override { return 1080; }
  std::string deviceName(int) override { return ""; }

 private:
  Reader& in_;
  FakeTimer& timer_;
};

// A Progress that shows nothing and notes the link states named.
class QuietProgress : public Progress {
 public:
  std::function<void(const std::string&)> onLinkState;
  void linkState(const std::string& t) override {
    if (onLinkState) onLinkState(t);
  }
  void line(const std::string&, ProgressLine) override {}
  void range(int) override {}
  void value(int) override {}
  void busy(bool) override {}
  void showNow() override {}
};

// The end of a stall: what came meanwhile and the expired timer are both due, and the loop
// serves them in either order.
inline void serveStallEnd(FakePort& port, const std::function<void()>& tick, bool timerFirst) {
  if (timerFirst) tick();
  port.receiveIfDue();
  if (!timerFirst) tick();
}

}  // namespace vq::fuzz
