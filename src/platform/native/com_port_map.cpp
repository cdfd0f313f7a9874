#include "platform/native/com_port_map.h"

#include <algorithm>
#include <cctype>

namespace vq::native {
namespace {

bool isAdapter(const std::string& path) {
  return path.rfind("/dev/ttyUSB", 0) == 0 || path.rfind("/dev/ttyACM", 0) == 0;
}

#ifdef _WIN32
constexpr const char* kPathSeparators = "/\\";
#else
constexpr const char* kPathSeparators = "/";
#endif

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Natural comparison: runs of digits compare by value, so ttyUSB2 < ttyUSB10.
bool naturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      std::size_t i2 = i, j2 = j;
      while (i2 < a.size() && isDigit(a[i2])) ++i2;
      while (j2 < b.size() && isDigit(b[j2])) ++j2;
      // Leading zeros aside, the longer run is the larger number.
      const auto x = a.substr(i, i2 - i), y = b.substr(j, j2 - j);
      const auto xs = x.substr(std::min(x.find_first_not_of('0'), x.size()));
      const auto ys = y.substr(std::min(y.find_first_not_of('0'), y.size()));
      if (xs.size() != ys.size()) return xs.size() < ys.size();
      if (xs != ys) return xs < ys;
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

std::vector<std::string> orderSerialDevices(std::vector<std::string> paths) {
  std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
    if (isAdapter(a) != isAdapter(b)) return isAdapter(a);
    if (naturalLess(a, b)) return true;
    if (naturalLess(b, a)) return false;
    return a < b;
  });
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  return paths;
}

bool parseComPin(const std::string& arg, int& number, std::string& path) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  std::size_t b = 0, e = eq;
  while (b < e && std::isspace(static_cast<unsigned char>(arg[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(arg[e - 1]))) --e;
  if (b == e) return false;
  int n = 0;
  for (std::size_t k = b; k < e; ++k) {
    if (!isDigit(arg[k])) return false;
    n = std::min(n * 10 + (arg[k] - '0'), 1000);
  }
  const std::string p = arg.substr(eq + 1);
  if (n < 1 || n > 255 || p.empty()) return false;
  number = n;
  path = p;
  return true;
}

std::string ComPortMap::pathFor(int number) const {
  if (const auto it = pins_.find(number); it != pins_.end()) return it->second;
#ifdef _WIN32
  // Windows numbers its ports itself: COM3 is COM3.
  return number >= 1 ? "\\\\.\\COM" + std::to_string(number) : std::string();
#else
  return pathFor(number, systemDevices());
#endif
}

std::string ComPortMap::deviceName(int number) const {
  const std::string path = pathFor(number);
  return path.substr(path.find_last_of(kPathSeparators) + 1);
}

std::string ComPortMap::pathFor(int number, const std::vector<std::string>& devices) const {
  if (number < 1) return {};
  if (const auto it = pins_.find(number); it != pins_.end()) return it->second;
  std::vector<std::string> free;
  for (const std::string& d : orderSerialDevices(devices))
    if (std::none_of(pins_.begin(), pins_.end(), [&](const auto& p) { return p.second == d; })) free.push_back(d);
  // The k-th unpinned number (counting from 1) takes the k-th free device.
  std::size_t k = 0;
  for (int n = 1; n <= number; ++n)
    if (!pins_.count(n)) ++k;
  return k >= 1 && k <= free.size() ? free[k - 1] : std::string();
}

}  // namespace vq::native
