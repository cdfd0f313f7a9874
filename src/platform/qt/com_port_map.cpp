#include "platform/qt/com_port_map.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace vq::qt {
namespace {

bool isAdapter(const QString& path) {
  return path.startsWith("/dev/ttyUSB") || path.startsWith("/dev/ttyACM");
}

// Natural comparison: runs of digits compare by value, so ttyUSB2 < ttyUSB10.
bool naturalLess(const QString& a, const QString& b) {
  qsizetype i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i].isDigit() && b[j].isDigit()) {
      qsizetype i2 = i, j2 = j;
      while (i2 < a.size() && a[i2].isDigit()) ++i2;
      while (j2 < b.size() && b[j2].isDigit()) ++j2;
      const qulonglong x = a.mid(i, i2 - i).toULongLong();
      const qulonglong y = b.mid(j, j2 - j).toULongLong();
      if (x != y) return x < y;
      i = i2;
      j = j2;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

}  // namespace

QStringList orderSerialDevices(QStringList paths) {
  paths.removeDuplicates();
  std::sort(paths.begin(), paths.end(), [](const QString& a, const QString& b) {
    if (isAdapter(a) != isAdapter(b)) return isAdapter(a);
    if (naturalLess(a, b)) return true;
    if (naturalLess(b, a)) return false;
    return a < b;
  });
  return paths;
}

bool parseComPin(const QString& arg, int& number, QString& path) {
  const qsizetype eq = arg.indexOf('=');
  if (eq <= 0) return false;
  bool ok = false;
  const int n = arg.left(eq).trimmed().toInt(&ok);
  const QString p = arg.mid(eq + 1);
  if (!ok || n < 1 || n > 255 || p.isEmpty()) return false;
  number = n;
  path = p;
  return true;
}

QString ComPortMap::pathFor(int number) const {
  if (pins_.contains(number)) return pins_.value(number);
  return pathFor(number, systemDevices());
}

QString ComPortMap::pathFor(int number, const QStringList& devices) const {
  if (number < 1) return {};
  if (pins_.contains(number)) return pins_.value(number);
  QStringList free;
  for (const QString& d : orderSerialDevices(devices))
    if (std::find(pins_.cbegin(), pins_.cend(), d) == pins_.cend()) free.push_back(d);
  // The k-th unpinned number (counting from 1) takes the k-th free device.
  int k = 0;
  for (int n = 1; n <= number; ++n)
    if (!pins_.contains(n)) ++k;
  return k >= 1 && k <= free.size() ? free[k - 1] : QString();
}

QStringList ComPortMap::systemDevices() {
  QStringList out;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) out.push_back(info.systemLocation());
  return out;
}

}  // namespace vq::qt
