// The publisher's SHA-256 of an update file: a download cut short still has a valid header,
// and the flash verify compares with the same damaged file, so only this digest catches it.
// It comes from NAME.bin.sha256 beside the file (sha256sum's format, or a bare digest) or is
// given by the operator.
#pragma once
#include <string>
#include <string_view>

namespace vq {

// Where the checksum of an update file is looked for: "VQ_1.2.0.bin.sha256" beside it.
std::string fncChecksumPathFor(const std::string& updatePath);

// 64 hexadecimal digits, either case, nothing else.
bool fncIsSha256Hex(std::string_view s);

enum class ChecksumTextFault {
  None,
  NoDigest,        // not one line holds a SHA-256 digest (empty, garbage, a digest of another length)
  NotForThisFile,  // several digests, none of them for this file
};

struct ExpectedDigest {
  std::string hex;  // lower case; empty with a fault
  ChecksumTextFault fault = ChecksumTextFault::None;
};

// The digest a checksum text gives for `fileName`: the line naming it (sha256sum's
// "<hex>  NAME" or "<hex> *NAME", a folder before the name allowed), else the only digest
// line, which may be a bare digest. Lines that hold no digest are passed over.
ExpectedDigest fncParseChecksumText(std::string_view text, std::string_view fileName);

enum class ChecksumFileState { Absent, Read, Unreadable };

struct ChecksumFile {
  ChecksumFileState state = ChecksumFileState::Absent;
  std::string text;
};

// The checksum file at `path`: absent, its text, or there but not readable (a folder, no
// rights, too large to be a checksum file).
ChecksumFile fncReadChecksumFile(const std::string& path);

enum class ChecksumCheck {
  NotChecked,      // no checksum file and no digest given: the digest is only shown
  Verified,
  Mismatch,
  Unreadable,      // the checksum file is there but cannot be read
  NoDigest,        // it holds no digest at all
  NotForThisFile,  // it holds digests of other files only
};

struct ChecksumVerdict {
  ChecksumCheck check = ChecksumCheck::NotChecked;
  std::string expected;  // lower case, for Verified and Mismatch
};

// The file's digest `actualHex` against what is expected of it: `given` (the operator's,
// 64 hex digits) when not empty, which goes before the checksum file; else the file.
ChecksumVerdict fncCheckChecksum(const std::string& actualHex, const std::string& given, const ChecksumFile& file,
                                 std::string_view fileName);

}  // namespace vq
