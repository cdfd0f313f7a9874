#include "platform/line_settings.h"

#include <cctype>
#include <sstream>
#include <vector>

namespace vq {

double LineSettings::bitsPerChar() const {
  return 1.0 + dataBits + (parity == 'N' ? 0 : 1) + stopBitsTimes2 / 2.0;
}

long long LineSettings::lineTimeUs(std::size_t n) const {
  if (baud <= 0) return 0;
  return static_cast<long long>(bitsPerChar() * static_cast<double>(n) * 1e6 / baud + 0.5);
}

static std::string trim(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

static bool allDigits(const std::string& s) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::optional<LineSettings> parseLineSettings(const std::string& text) {
  std::vector<std::string> f;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, ',')) f.push_back(trim(part));
  if (f.size() != 4) return std::nullopt;
  LineSettings s;
  if (!allDigits(f[0])) return std::nullopt;
  s.baud = std::stoi(f[0]);
  if (s.baud <= 0) return std::nullopt;
  if (f[1].size() != 1) return std::nullopt;
  s.parity = static_cast<char>(std::toupper(static_cast<unsigned char>(f[1][0])));
  if (std::string("NOEMS").find(s.parity) == std::string::npos) return std::nullopt;
  if (!allDigits(f[2])) return std::nullopt;
  s.dataBits = std::stoi(f[2]);
  if (f[3] == "1") s.stopBitsTimes2 = 2;
  else if (f[3] == "1.5") s.stopBitsTimes2 = 3;
  else if (f[3] == "2") s.stopBitsTimes2 = 4;
  else return std::nullopt;
  return s;
}

std::string formatLineSettings(const LineSettings& s) {
  std::string stop = s.stopBitsTimes2 == 2 ? "1" : s.stopBitsTimes2 == 3 ? "1.5" : "2";
  return std::to_string(s.baud) + "," + std::string(1, s.parity) + "," + std::to_string(s.dataBits) + "," + stop;
}

}  // namespace vq
