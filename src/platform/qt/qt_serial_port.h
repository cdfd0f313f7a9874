// mscComm over QSerialPort. Events are raised on the window's thread from Qt's event loop,
// so they arrive during doEvents()/waitEvents() as the core expects.
#pragma once
#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include "platform/line_settings.h"
#include "platform/platform.h"
#include "platform/qt/com_port_map.h"
#include "platform/qt/low_latency.h"

namespace vq::qt {

class QtSerialPort : public QObject, public SerialPort {
  Q_OBJECT
 public:
  explicit QtSerialPort(const ComPortMap& map, QObject* parent = nullptr);
  ~QtSerialPort() override;
  // The driver calls that switch its low-latency mode, for tests.
  void setLowLatencyOps(LowLatency::Ops ops) { lowLatency_.setOps(std::move(ops)); }

  void setCommPort(int n) override;
  int commPort() const override { return commPort_; }
  void setSettings(const std::string& text) override;
  std::string settings() const override { return settingsText_; }
  void setHandshaking(int mode) override;
  int handshaking() const override { return handshaking_; }
  void setPortOpen(bool open) override;
  bool portOpen() const override { return port_.isOpen() && !failed_; }

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
  QString devicePath() const { return map_.pathFor(commPort_); }
  // False on a device that cannot report modem lines (a pseudo-terminal).
  bool modemLinesSupported() const { return modemLines_; }

 private:
  void openPort();
  void closePort();
  void drainOutput();
  bool applyChanges(const LineSettings& from, const LineSettings& to);
  bool applyHandshaking(int mode);
  void applyOutputLines();
  QSerialPort::PinoutSignals pins() const;
  void onReadyRead();
  void onBytesWritten();
  void onError(QSerialPort::SerialPortError e);
  void fail(const QString& why);
  // Bytes the driver took at once, without waiting; throws if the device failed.
  std::size_t writeToDriver(const Bytes& bytes);
  void pollCts();
  void watchHangup();
  void raise(CommEvent ev);

  const ComPortMap& map_;
  mutable QSerialPort port_;
  QTimer ctsPoll_;
  QTimer hangupWatch_;
  LowLatency lowLatency_;
  // Raises the send event at the next pass of the event loop (a zero timer does not wake it).
  QTimer sendDue_;
  int commPort_ = 1;
  std::string settingsText_ = "9600,N,8,1";
  LineSettings line_;
  int handshaking_ = 0;
  int rThreshold_ = 0;
  int sThreshold_ = 0;
  bool rts_ = false;
  bool dtr_ = false;
  bool modemLines_ = true;
  bool lastCts_ = true;
  bool sendArmed_ = false;
  bool failed_ = false;  // the device vanished; the close is queued
};

}  // namespace vq::qt
