#include "update_file.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>
#include <vector>

namespace vq::sim {

FirmwareVersion versionOf(const UpdateFileOptions& o) {
  return {std::uint8_t(o.v1 * 10 + o.v2), o.v3};
}

Bytes makeFirmwareBody(std::size_t size, std::uint32_t seed, std::optional<FirmwareVersion> version) {
  Bytes body(size);
  // xorshift32: cheap, deterministic, and never a run of 0xFF that would look erased.
  std::uint32_t x = seed ? seed : 0x9E3779B9u;
  for (auto& b : body) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = std::uint8_t(x >> 24);
  }
  if (version && size >= kVersionRecordOffset + 6) {
    std::memcpy(body.data() + kVersionRecordOffset, kVersionMarker, 4);
    body[kVersionRecordOffset + 4] = version->main;
    body[kVersionRecordOffset + 5] = version->rev;
  }
  return body;
}

Bytes makeUpdateFile(const UpdateFileOptions& o) {
  Bytes file(kHeaderSize, 0x00);
  std::string magic = kUpdateMagic;
  std::size_t at = 0;
  switch (o.magic) {
    case MagicKind::Good: break;
    case MagicKind::Bad: magic[3] = 'X'; break;  // "VQ-XYSTEM..."
    case MagicKind::LowerCase:
      for (auto& c : magic) c = char(std::tolower(static_cast<unsigned char>(c)));
      break;
    case MagicKind::AtOffset5: at = 5; break;
    case MagicKind::None: magic.clear(); break;
  }
  std::copy(magic.begin(), magic.end(), file.begin() + std::ptrdiff_t(at));
  // A magic moved to offset 5 covers 33, 35 and 37: its own letters are then the version bytes.
  if (o.magic != MagicKind::AtOffset5) {
    file[33] = o.v1;
    file[35] = o.v2;
    file[37] = o.v3;
  }
  std::optional<FirmwareVersion> v;
  if (o.versionRecord) v = versionOf(o);
  Bytes body = makeFirmwareBody(o.bodySize, o.seed, v);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

Bytes flashImageOf(const Bytes& updateFile) {
  Bytes flash(kFlashSize, 0xFF);
  if (updateFile.size() > kHeaderSize) {
    std::size_t n = std::min(kFlashSize, updateFile.size() - kHeaderSize);
    std::copy_n(updateFile.begin() + kHeaderSize, n, flash.begin());
  }
  return flash;
}

std::optional<FirmwareVersion> versionInFlash(const Bytes& flash) {
  if (flash.size() < kVersionRecordOffset + 6) return std::nullopt;
  if (std::memcmp(flash.data() + kVersionRecordOffset, kVersionMarker, 4) != 0) return std::nullopt;
  return FirmwareVersion{flash[kVersionRecordOffset + 4], flash[kVersionRecordOffset + 5]};
}

std::optional<UpdateFileOptions> parseVersionText(const std::string& text, UpdateFileOptions base) {
  std::vector<int> parts;
  std::stringstream ss(text);
  std::string p;
  while (std::getline(ss, p, '.')) {
    if (p.empty() || p.size() > 3 || !std::all_of(p.begin(), p.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
      return std::nullopt;
    int v = std::stoi(p);
    if (v > 255) return std::nullopt;
    parts.push_back(v);
  }
  if (parts.size() != 3) return std::nullopt;
  base.v1 = std::uint8_t(parts[0]);
  base.v2 = std::uint8_t(parts[1]);
  base.v3 = std::uint8_t(parts[2]);
  return base;
}

}  // namespace vq::sim
