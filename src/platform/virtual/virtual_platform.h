// Virtual-time platform for tests: a clock that jumps to the next scheduled event, a timer,
// a serial line to an in-process Device with modem lines, recorded message boxes and scripted
// dialogs. A whole wizard run takes milliseconds of real time and repeats exactly.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/app_windows.h"
#include "platform/line_settings.h"
#include "platform/platform.h"
#include "platform/virtual/device.h"

namespace vq::virt {

// waitEvents() with nothing scheduled: the real program would hang there.
struct HangError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class VirtualClock {
 public:
  std::int64_t nowUs() const { return now_; }
  // Schedules fn at now + delayUs; returns an id for cancel().
  std::uint64_t after(std::int64_t delayUs, std::function<void()> fn);
  void cancel(std::uint64_t id);
  // Runs every event due at or before now; returns how many ran.
  int runDue();
  // Moves to the next scheduled event and runs everything due then; false when none.
  bool runNext();
  void advance(std::int64_t us) { now_ += us; }
  bool idle() const { return events_.empty(); }

 private:
  struct Key {
    std::int64_t at;
    std::uint64_t seq;
    bool operator<(const Key& o) const { return at != o.at ? at < o.at : seq < o.seq; }
  };
  std::int64_t now_ = 0;
  std::uint64_t seq_ = 0;
  std::map<Key, std::function<void()>> events_;
  std::map<std::uint64_t, Key> byId_;
};

class VirtualTimer : public Timer {
 public:
  explicit VirtualTimer(VirtualClock& c) : clock_(c) {}
  void setInterval(int ms) override;
  int interval() const override { return interval_; }
  void setEnabled(bool on) override;
  bool enabled() const override { return enabled_; }

 private:
  void arm();
  VirtualClock& clock_;
  int interval_ = 0;
  bool enabled_ = false;
  std::uint64_t pending_ = 0;
};

// One byte or write as the line saw it.
struct LineRecord {
  std::int64_t atUs;
  Bytes bytes;
  std::string settings;  // the PC's settings text at that moment
};

class VirtualSerialPort : public SerialPort, private DeviceHost {
 public:
  explicit VirtualSerialPort(VirtualClock& c) : clock_(c) {}

  void attach(Device* d);
  // COM numbers that exist; opening any other throws 8002. Default: {1}.
  std::vector<int> existingPorts{1};
  // Ports another program holds: opening them fails (8005).
  std::vector<int> busyPorts;
  // Coalesce arrivals into one receive event per this many µs (a USB adapter's latency);
  // 0 = an event for every byte as it arrives.
  std::int64_t coalesceUs = 0;
  // Every write of the PC, in order.
  std::vector<LineRecord> written;
  int opens = 0;

  void setCommPort(int n) override;
  int commPort() const override { return port_; }
  void setSettings(const std::string& text) override;
  std::string settings() const override { return settingsText_; }
  void setHandshaking(int mode) override;
  int handshaking() const override { return handshaking_; }
  void setPortOpen(bool open) override;
  bool portOpen() const override { return open_; }
  void setRThreshold(int n) override { rThreshold_ = n; }
  int rThreshold() const override { return rThreshold_; }
  void setSThreshold(int n) override { sThreshold_ = n; }
  int sThreshold() const override { return sThreshold_; }
  Bytes input() override;
  void output(const Bytes& bytes) override;
  void discardInput() override { inBuf_.clear(); }
  void discardOutput() override;
  void setRTSEnable(bool on) override;
  void setDTREnable(bool on) override;
  bool ctsHolding() const override { return device_ ? device_->cts() : true; }
  bool dsrHolding() const override { return device_ ? device_->dsr() : false; }
  bool rts() const { return rts_; }
  bool dtr() const { return dtr_; }
  const LineSettings& lineSettings() const { return settings_; }

 private:
  // DeviceHost
  std::int64_t nowUs() const override { return clock_.nowUs(); }
  void after(std::int64_t delayUs, std::function<void()> fn) override { clock_.after(delayUs, std::move(fn)); }
  void transmit(const Bytes& bytes) override;
  void modemChanged() override;

  void deliver(std::uint8_t b);
  void raise(CommEvent ev);

  VirtualClock& clock_;
  Device* device_ = nullptr;
  int port_ = 1;
  std::string settingsText_ = "9600,N,8,1";
  LineSettings settings_;
  int handshaking_ = 0;
  bool open_ = false;
  int rThreshold_ = 0;
  int sThreshold_ = 0;
  bool rts_ = false, dtr_ = false;
  bool lastCts_ = true;
  Bytes inBuf_;
  std::int64_t txBusyUntil_ = 0;  // PC -> device line
  std::int64_t rxBusyUntil_ = 0;  // device -> PC line
  int txPending_ = 0;
  std::uint64_t generation_ = 0;  // bumped on close/discard so bytes in flight are dropped
  bool receiveCheckPending_ = false;
};

// The platform and the windows of a test: the dialogs are played by the test's callbacks.
class VirtualPlatform : public Platform, public Windows {
 public:
  // Creates the clock, port and timer and installs them as the process's platform.
  VirtualPlatform();
  ~VirtualPlatform() override;

  VirtualClock clock;
  VirtualSerialPort port{clock};
  VirtualTimer timer{clock};

  // Knobs and records for tests.
  int langId = 1033;
  std::vector<std::string> messages;          // every message box shown, in order
  std::function<void(const std::string&)> onMessageBox;
  std::deque<bool> yesNoAnswers;              // answers of the questions, Yes = true; none = No
  std::vector<std::string> questions;         // every question asked, in order
  std::deque<std::string> fileAnswers;        // answers of the file dialog; "" = cancel
  std::vector<std::string> fileFilters;       // "description|pattern" of every dialog shown
  std::function<void()> onForceUpdateDialog;  // plays the operator inside the modal dialog
  std::function<void()> onPortConfDialog;     // plays the operator once the dialog is shown
  std::map<int, std::string> deviceNames;     // COM number -> "ttyUSB0"
  int screenW = 1920, screenH = 1080;
  bool quitCalled = false;
  bool busy = false;
  long doEventsCalls = 0, waitEventsCalls = 0, refreshCalls = 0;
  // Upper bound of virtual time a single test may use, against endless loops.
  std::int64_t limitUs = 3600LL * 1000 * 1000;

  void doEvents() override;
  void waitEvents() override;
  void sleepMs(int ms) override { clock.advance(std::int64_t(ms) * 1000); }
  void refresh() override { ++refreshCalls; }
  void messageBox(const std::string& text) override;
  bool askYesNo(const std::string& text) override;
  std::string openFileDialog(const std::string& description, const std::string& pattern) override;
  int systemLangId() override { return langId; }
  void setBusyCursor(bool b) override { busy = b; }
  int screenWidth() override { return screenW; }
  int screenHeight() override { return screenH; }
  std::string deviceName(int comPort) override;
  void showForceUpdateDialog() override;
  void showPortConfDialog() override;
  void closePortConfDialog() override {}
  void quit() override { quitCalled = true; }

  // Runs events until pred() holds or time runs out (limitUs from now); false on time-out.
  bool runUntil(const std::function<bool()>& pred, std::int64_t limitUs);
  double nowMs() const { return clock.nowUs() / 1000.0; }
};

}  // namespace vq::virt
