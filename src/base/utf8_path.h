// File names are UTF-8 throughout this program. On Windows std::filesystem reads a narrow
// string in a code page of its own, not UTF-8 (a Japanese user name in %LOCALAPPDATA% would
// come out garbled), so paths cross into std::filesystem and back through these two.
#pragma once
#include <filesystem>
#include <string>

namespace vq {

inline std::filesystem::path pathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Of(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

}  // namespace vq
