// Update files for tests and demos: the 48-byte header with the magic and version bytes, and a
// deterministic body that carries the version record the simulated firmware reports.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/bytes.h"

namespace vq::sim {

inline constexpr const char* kUpdateMagic = "VQ-SYSTEM FIRMWARE Q.VELDORAN VER";
inline constexpr std::size_t kHeaderSize = 48;
inline constexpr std::size_t kFlashSize = 131072;  // 512 blocks of 256 bytes

// Where the simulated firmware keeps its version: "VQFW", then the main byte (major * 10 + minor)
// and the revision byte. Flash without the marker reports the device's configured version.
inline constexpr std::size_t kVersionRecordOffset = 0x00C0;
inline constexpr std::uint8_t kVersionMarker[4] = {'V', 'Q', 'F', 'W'};

struct FirmwareVersion {
  std::uint8_t main = 11;  // 11 is version 1.1
  std::uint8_t rev = 0;
  bool operator==(const FirmwareVersion&) const = default;
};

enum class MagicKind { Good, Bad, LowerCase, AtOffset5, None };

struct UpdateFileOptions {
  std::uint8_t v1 = 1, v2 = 1, v3 = 0;  // header bytes 33, 35, 37: "Ver.v1.v2.v3"
  std::size_t bodySize = kFlashSize;    // more than kFlashSize makes a too-long body
  std::uint32_t seed = 1;               // same seed, same body
  MagicKind magic = MagicKind::Good;
  bool versionRecord = true;            // place the version record in the body
};

// The version the firmware of such a file reports: main = v1 * 10 + v2, rev = v3.
FirmwareVersion versionOf(const UpdateFileOptions& o);

Bytes makeUpdateFile(const UpdateFileOptions& o = {});
// Just the body: pseudo-random, deterministic by seed, with the version record when asked.
Bytes makeFirmwareBody(std::size_t size, std::uint32_t seed, std::optional<FirmwareVersion> version);

// The flash content an update file leaves: its body (from offset 48) cut or padded with 0xFF to
// the flash size.
Bytes flashImageOf(const Bytes& updateFile);

// The version record in a flash image, if it carries one.
std::optional<FirmwareVersion> versionInFlash(const Bytes& flash);

// Parses "1.2.3" into header bytes; nothing when malformed.
std::optional<UpdateFileOptions> parseVersionText(const std::string& text, UpdateFileOptions base = {});

}  // namespace vq::sim
