// mscComm on the operating system's own serial device, its events raised from an event loop
// (PollLoop in vq-update-cli, Qt's in the window), so they arrive during doEvents()/waitEvents()
// as the core expects. The behaviour is the same on every system; SerialDevice is the system.
#pragma once
#include <memory>
#include <string>

#include "platform/line_settings.h"
#include "platform/native/com_port_map.h"
#include "platform/native/event_loop.h"
#include "platform/native/port_diagnosis.h"
#include "platform/native/serial_device.h"
#include "platform/platform.h"

namespace vq::native {

class NativeSerialPort : public SerialPort {
 public:
  NativeSerialPort(const ComPortMap& map, EventLoop& loop);
  ~NativeSerialPort() override;
  // The driver calls that switch its low-latency mode, for tests.
  void setLowLatencyOps(LowLatency::Ops ops) { device_.setLowLatencyOps(std::move(ops)); }
#ifndef _WIN32
  // The folder of the serial lock files, taken and read for the holder, for tests.
  void setLockDir(const std::string& dir) {
    device_.setLockDir(dir);
    diagnosis_.lock = dir;
  }
#endif

  void setCommPort(int n) override;
  int commPort() const override { return commPort_; }
  void setSettings(const std::string& text) override;
  std::string settings() const override { return settingsText_; }
  void setHandshaking(int mode) override;
  int handshaking() const override { return handshaking_; }
  void setPortOpen(bool open) override;
  bool portOpen() const override { return device_.isOpen() && !failed_; }

  void setRThreshold(int n) override { rThreshold_ = n; }
  int rThreshold() const override { return rThreshold_; }
  void setSThreshold(int n) override { sThreshold_ = n; }
  int sThreshold() const override { return sThreshold_; }

  Bytes input() override;
  void output(const Bytes& bytes) override;
  void discardInput() override;
  void discardOutput() override;

  void setRTSEnable(bool on) override;
  void setDTREnable(bool on) override;
  bool ctsHolding() const override;
  bool dsrHolding() const override;

  // The device path the port uses (or would use) now; empty when the number maps to none.
  std::string devicePath() const { return map_.pathFor(commPort_); }
  // False on a device that cannot report modem lines (a pseudo-terminal).
  bool modemLinesSupported() const { return modemLines_; }

 private:
  void openPort();
  void closePort();
  void drainOutput();
  void applyOutputLines();
  // Reads what the device has into the buffer; false when the device has gone.
  bool readDevice();
  void onReadable();
  void writeQueued();
  // What the driver took of the bytes at once; throws (and fails the port) if it has gone.
  std::size_t writeToDevice(const std::uint8_t* data, std::size_t size);
  void pollCts();
  void fail(const std::string& why);
  void raise(CommEvent ev);

  const ComPortMap& map_;
  EventLoop& loop_;
  SerialDevice device_;
  DiagnosisRoots diagnosis_;  // where a refused open looks for its holder
  std::unique_ptr<IoWatch> watch_;
  std::unique_ptr<LoopTimer> ctsPoll_;
  // Raises the send event at the next pass of the loop, not inside the caller's output().
  std::unique_ptr<LoopTimer> sendDue_;
  // Closes a failed port and says so once control is back in the loop.
  std::unique_ptr<LoopTimer> failDue_;
  int commPort_ = 1;
  std::string settingsText_ = "9600,N,8,1";
  LineSettings line_;
  int handshaking_ = 0;
  int rThreshold_ = 0;
  int sThreshold_ = 0;
  Bytes received_;
  Bytes queued_;  // what the driver could not take yet, written as it makes room
  bool rts_ = false;
  bool dtr_ = false;
  bool modemLines_ = true;
  bool lastCts_ = true;
  bool sendArmed_ = false;
  bool failed_ = false;  // the device vanished; the close is queued
};

}  // namespace vq::native
