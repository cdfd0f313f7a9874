// Helpers that check the layout rules of the multi-line operator texts.
#pragma once
#include <string>
#include <vector>

namespace vq::test {

inline const std::string kIdeographicSpace = "\u3000";

// Splits at CR LF; a lone CR or LF stays inside its line, where the checks find it.
inline std::vector<std::string> crlfLines(const std::string& s) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = s.find("\r\n", start);
    if (at == std::string::npos) {
      lines.push_back(s.substr(start));
      return lines;
    }
    lines.push_back(s.substr(start, at - start));
    start = at + 2;
  }
}

inline bool hasLoneBreak(const std::string& s) {
  for (const auto& line : crlfLines(s)) {
    if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos) return true;
  }
  return false;
}

inline bool startsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}

inline bool endsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace vq::test
