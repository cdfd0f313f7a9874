#include "image/file_checksum.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>
#include <vector>

#include "base/utf8_path.h"

namespace vq {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kDigestDigits = 64;
// sha256sum's listing of a whole release is a few kilobytes; anything far larger is no
// checksum file and is not read into memory.
constexpr std::uintmax_t kLargestChecksumFile = 1 << 20;

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return out;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The name's last component: a listing made one folder up names "dist/VQ_1.2.0.bin".
std::string_view baseName(std::string_view name) {
  const std::size_t slash = name.find_last_of("/\\");
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

struct DigestLine {
  std::string hex;
  std::string_view name;  // empty for a bare digest
};

std::optional<DigestLine> digestLine(std::string_view line) {
  line = trimmed(line);
  if (line.size() < kDigestDigits || !std::all_of(line.begin(), line.begin() + kDigestDigits, isHex)) return std::nullopt;
  DigestLine d{lower(line.substr(0, kDigestDigits)), {}};
  std::string_view rest = line.substr(kDigestDigits);
  if (rest.empty()) return d;
  // A 65th digit makes it a digest of another length, not this one with a name.
  if (!isBlank(rest.front())) return std::nullopt;
  rest = trimmed(rest);
  if (!rest.empty() && rest.front() == '*') rest.remove_prefix(1);  // sha256sum's binary mode
  d.name = rest;
  return d;
}

}  // namespace

std::string fncChecksumPathFor(const std::string& updatePath) { return updatePath + ".sha256"; }

bool fncIsSha256Hex(std::string_view s) { return s.size() == kDigestDigits && std::all_of(s.begin(), s.end(), isHex); }

ExpectedDigest fncParseChecksumText(std::string_view text, std::string_view fileName) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";  // editors on Windows put one first
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::vector<DigestLine> digests;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    if (auto d = digestLine(text.substr(0, end))) {
      if (!d->name.empty() && baseName(d->name) == fileName) return {d->hex, ChecksumTextFault::None};
      digests.push_back(*d);
    }
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  if (digests.size() == 1) return {digests.front().hex, ChecksumTextFault::None};
  return {"", digests.empty() ? ChecksumTextFault::NoDigest : ChecksumTextFault::NotForThisFile};
}

ChecksumFile fncReadChecksumFile(const std::string& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(pathOf(path), ec);
  if (st.type() == fs::file_type::not_found) return {ChecksumFileState::Absent, {}};
  ChecksumFile unreadable{ChecksumFileState::Unreadable, {}};
  if (ec || st.type() != fs::file_type::regular) return unreadable;
  const std::uintmax_t size = fs::file_size(pathOf(path), ec);
  if (ec || size > kLargestChecksumFile) return unreadable;
  std::ifstream in(pathOf(path), std::ios::binary);
  if (!in) return unreadable;
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return unreadable;
  return {ChecksumFileState::Read, std::move(text)};
}

ChecksumVerdict fncCheckChecksum(const std::string& actualHex, const std::string& given, const ChecksumFile& file,
                                 std::string_view fileName) {
  std::string expected;
  if (!given.empty()) {
    expected = lower(given);
  } else {
    switch (file.state) {
      case ChecksumFileState::Absent: return {ChecksumCheck::NotChecked, {}};
      case ChecksumFileState::Unreadable: return {ChecksumCheck::Unreadable, {}};
      case ChecksumFileState::Read: break;
    }
    const ExpectedDigest d = fncParseChecksumText(file.text, fileName);
    switch (d.fault) {
      case ChecksumTextFault::NoDigest: return {ChecksumCheck::NoDigest, {}};
      case ChecksumTextFault::NotForThisFile: return {ChecksumCheck::NotForThisFile, {}};
      case ChecksumTextFault::None: break;
    }
    expected = d.hex;
  }
  const ChecksumCheck check = lower(actualHex) == expected ? ChecksumCheck::Verified : ChecksumCheck::Mismatch;
  return {check, expected};
}

}  // namespace vq
