#include "image/update_file_read.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

#include "base/image_state.h"
#include "base/utf8_path.h"

namespace vq {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "VQ-SYSTEM FIRMWARE Q.VELDORAN VER";
// The version bytes sit right after the magic when it starts the header.
constexpr std::size_t kVersion1At = 33;
constexpr std::size_t kVersion2At = 35;
constexpr std::size_t kVersion3At = 37;

}  // namespace

PathKind fncClassifyPath(const std::string& path) {
  // The operating system would read such a path only up to the NUL: a different file.
  if (path.find('\0') != std::string::npos) return PathKind::Unusable;
  std::error_code ec;
  const fs::file_status st = fs::status(pathOf(path), ec);
  if (st.type() == fs::file_type::not_found) return PathKind::Missing;
  if (ec) return PathKind::Unusable;  // permission denied on a folder, name too long, ...
  // Folders, devices and pipes are no update files, and reading some of them never ends.
  return st.type() == fs::file_type::regular ? PathKind::RegularFile : PathKind::Unusable;
}

std::optional<Bytes> fncReadWholeFile(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(pathOf(path), ec);
  if (ec || size > std::uintmax_t(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
  std::ifstream in(pathOf(path), std::ios::binary);
  if (!in) return std::nullopt;
  Bytes data(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), std::streamsize(size))) return std::nullopt;
  // A file that grew while it was read is no longer the one whose size was taken.
  if (in.peek() != std::ifstream::traits_type::eof()) return std::nullopt;
  return data;
}

bool fncHasUpdateMagic(const Bytes& data) {
  const std::string_view header(reinterpret_cast<const char*>(data.data()), kHeaderSize);
  return header.find(kMagic) != std::string_view::npos;
}

std::string fncFileVersionText(const Bytes& data) {
  return "Ver." + std::to_string(data[kVersion1At]) + "." + std::to_string(data[kVersion2At]) + "." +
         std::to_string(data[kVersion3At]);
}

}  // namespace vq
