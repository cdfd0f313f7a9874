// COM numbers on Linux: the program speaks of COM1..COM16; each number maps to a device path.
// Numbers pinned on the command line (--com N=PATH) go to their device; the other numbers, in
// increasing order, take the system's serial devices not pinned elsewhere, USB and ACM adapters
// first, each group in natural order (ttyUSB2 before ttyUSB10).
#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

namespace vq::qt {

// Orders device paths: /dev/ttyUSB* and /dev/ttyACM* first, then the others; natural order
// within each group.
QStringList orderSerialDevices(QStringList paths);

// Parses "N=PATH" of --com; false when malformed or N is outside 1..255.
bool parseComPin(const QString& arg, int& number, QString& path);

class ComPortMap {
 public:
  void pin(int number, const QString& path) { pins_[number] = path; }
  const QMap<int, QString>& pins() const { return pins_; }

  // Device path of COM n, empty when none. Reads the system's device list each time, so an
  // adapter plugged in later is found.
  QString pathFor(int number) const;
  // Same, over a given device list (for tests).
  QString pathFor(int number, const QStringList& systemDevices) const;

  // The system's serial devices (full paths), as QSerialPortInfo lists them.
  static QStringList systemDevices();

 private:
  QMap<int, QString> pins_;
};

}  // namespace vq::qt
