// One serial device as the operating system offers it: opened for this program alone, the
// line set from LineSettings, bytes in and out without blocking, the modem lines. The port's
// behaviour (events, thresholds, error numbers, failures) is NativeSerialPort's; this is only
// the system's calls, one file per system.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/line_settings.h"
#include "platform/native/event_loop.h"
#include "platform/native/low_latency.h"

namespace vq::native {

class SerialDevice {
 public:
  enum class OpenResult {
    Opened,
    NoDevice,  // nothing at the path
    Refused,   // permission denied, or another program holds it
    Failed,    // anything else, the line settings refused among them
  };
  struct ModemLines {
    bool cts = false;
    bool dsr = false;
  };

  SerialDevice();
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // Opens the device with the line and the handshaking (0 none, 1 Xon/Xoff, 2 RTS/CTS, 3 both)
  // set; on failure why says what the system said.
  OpenResult open(const std::string& path, const LineSettings& line, int handshaking, std::string& why);
  // Puts back what open() changed (the driver's settings and flags), then closes.
  void close();
  bool isOpen() const;
  // What the event loop waits on while the device is open.
  Waitable waitable() const;

  // Sets the whole line; false (device unchanged) when the device refuses.
  bool apply(const LineSettings& line, int handshaking, std::string& why);

  // Bytes read (0: none waiting now); nothing when the device has gone, with why.
  std::optional<std::size_t> read(std::uint8_t* buf, std::size_t size, std::string& why);
  // Bytes the driver took (0: its buffer is full); nothing when the device has gone.
  std::optional<std::size_t> write(const std::uint8_t* data, std::size_t size, std::string& why);
  // Waits until what the driver holds has left the line.
  void drain();
  // Waits up to ms for room in the driver's buffer; false when none came.
  bool waitWritable(int ms) const;
  void discardInput();
  void discardOutput();
  // True when the device reports a hang-up (gone without an error of its own yet).
  bool hungUp() const;

  // CTS and DSR as read now; nothing on a device without modem lines (a pseudo-terminal).
  std::optional<ModemLines> modemLines() const;
  // False when refused (no modem lines); the port goes on either way.
  bool setRts(bool on);
  bool setDtr(bool on);

  void setLowLatencyOps(LowLatency::Ops ops) { lowLatency_.setOps(std::move(ops)); }

#ifndef _WIN32
  // The lock files other programs of the convention (Qt's, minicom) check before opening the
  // device, named as they name them after the path they were given: the path without a
  // leading /dev/ (devRoot/ for tests), every '/' turned into '_', after "LCK..". The name
  // given comes first ("LCK..serial_by-id_usb-FTDI_X-if00-port0"), then the device it
  // resolves to ("LCK..ttyUSB0"); one name when the two are the same.
  static std::vector<std::string> lockFileNames(const std::string& devicePath, const std::string& devRoot = "/dev");
  // The folder of the lock files: /var/lock, where minicom, screen and Qt's leave theirs,
  // unless a test gives another.
  void setLockDir(std::string dir) { lockDir_ = std::move(dir); }
#endif

 private:
#ifdef _WIN32
  struct Io;  // the handle, its overlapped read and write, the lock other copies of us see
  std::unique_ptr<Io> io_;
#else
  int fd_ = -1;
  std::string lockDir_ = "/var/lock";
  std::vector<std::string> lockPaths_;  // the lock files this open created, ours to remove
#endif
  LowLatency lowLatency_;
  struct Saved;
  std::unique_ptr<Saved> saved_;  // the driver's settings at open, put back on close
};

}  // namespace vq::native
