// Reading and checking an update file: what the file selection needs to decide.
#pragma once
#include <optional>
#include <string>

#include "base/bytes.h"

namespace vq {

enum class PathKind { Missing, RegularFile, Unusable };

// What a chosen path is: missing, a regular file, or anything else (a folder, a device, a
// path the system cannot resolve).
PathKind fncClassifyPath(const std::string& path);
// The whole file, or nothing when it cannot be read or does not fit gFileLength.
std::optional<Bytes> fncReadWholeFile(const std::string& path);
// The header (the first 48 bytes, which the caller guarantees) holds the magic text.
bool fncHasUpdateMagic(const Bytes& data);
// "Ver.1.2.0" from the version bytes behind the magic.
std::string fncFileVersionText(const Bytes& data);

}  // namespace vq
