#include "image/file_select.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>

#include "app/error_display.h"
#include "app/frm_main.h"
#include "app/state.h"
#include "image/firmware_file.h"
#include "image/write_blocks.h"

namespace vq {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "VQ-SYSTEM FIRMWARE Q.VELDORAN VER";
// The version bytes sit right after the magic when it starts the header.
constexpr std::size_t kVersion1At = 33;
constexpr std::size_t kVersion2At = 35;
constexpr std::size_t kVersion3At = 37;

constexpr std::uint8_t kErrNoSuchFile = 21;
constexpr std::uint8_t kErrNotUpdateFile = 22;
constexpr std::uint8_t kErrCannotOpen = 23;

// The codes of the file selection are shown at once and never reach the wizard's sequence.
void showAtOnce(std::uint8_t code) {
  gErrCode = code;
  subShowError();
  gErrCode = 0;
}

enum class PathKind { Missing, RegularFile, Unusable };

PathKind classify(const std::string& path) {
  // The operating system would read such a path only up to the NUL: a different file.
  if (path.find('\0') != std::string::npos) return PathKind::Unusable;
  std::error_code ec;
  const fs::file_status st = fs::status(fs::path(path), ec);
  if (st.type() == fs::file_type::not_found) return PathKind::Missing;
  if (ec) return PathKind::Unusable;  // permission denied on a folder, name too long, ...
  // Folders, devices and pipes are no update files, and reading some of them never ends.
  return st.type() == fs::file_type::regular ? PathKind::RegularFile : PathKind::Unusable;
}

// The whole file, or nothing when it cannot be read or does not fit gFileLength.
std::optional<Bytes> readWhole(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(fs::path(path), ec);
  if (ec || size > std::uintmax_t(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  Bytes data(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), std::streamsize(size))) return std::nullopt;
  // A file that grew while it was read is no longer the one whose size was taken.
  if (in.peek() != std::ifstream::traits_type::eof()) return std::nullopt;
  return data;
}

bool hasMagic(const Bytes& data) {
  const std::string_view header(reinterpret_cast<const char*>(data.data()), kHeaderSize);
  return header.find(kMagic) != std::string_view::npos;
}

std::string versionText(const Bytes& data) {
  return "Ver." + std::to_string(data[kVersion1At]) + "." + std::to_string(data[kVersion2At]) + "." +
         std::to_string(data[kVersion3At]);
}

}  // namespace

void subSelectFile() {
  const std::string path = platform().openFileDialog("Bin code", "*.bin");

  if (path.empty()) {
    gFilePath.clear();
    gFileTitle.clear();
    frmMain.lblFWFile.caption = gFileTitle;
    return;
  }

  // Nothing of the chosen file is kept until it has been read whole: a failure below leaves
  // the earlier choice standing, so step 5 never writes bytes from a file that failed.
  switch (classify(path)) {
    case PathKind::Missing:
      showAtOnce(kErrNoSuchFile);
      frmMain.cmdNext.enabled = false;
      return;
    case PathKind::Unusable:
      showAtOnce(kErrCannotOpen);
      return;
    case PathKind::RegularFile:
      break;
  }

  std::optional<Bytes> data;
  try {
    data = readWhole(path);
  } catch (const std::exception&) {  // out of memory, stream failures
    data.reset();
  }
  if (!data || data->size() < std::size_t(kHeaderSize)) {
    showAtOnce(kErrCannotOpen);
    return;
  }

  gFilePath = path;
  gFileTitle = fs::path(path).filename().string();
  frmMain.lblFWFile.caption = gFileTitle;
  gFileLength = static_cast<std::int32_t>(data->size());
  gFileData = std::move(*data);

  if (hasMagic(gFileData)) {
    frmMain.lblFWNew.caption = versionText(gFileData);
    gFileValid = true;
    frmMain.cmdNext.enabled = true;
  } else {
    showAtOnce(kErrNotUpdateFile);
    gFileValid = false;
    frmMain.cmdNext.enabled = false;
  }
}

}  // namespace vq
