#include <gtest/gtest.h>
#include <string>

#include "image/file_checksum.h"

namespace vq {
namespace {

const std::string kThis(64, 'a');                                  // the digest of VQ_1.2.0.bin
const std::string kOther = "0123456789abcdef" + std::string(48, '7');  // another file's
const std::string kUpper = "0123456789ABCDEF" + std::string(48, '7');

TEST(ChecksumText, TheDigestForTheFileOrAReason) {
  using F = ChecksumTextFault;
  const struct {
    const char* what;
    std::string text;
    std::string hex;  // expected digest, "" with a fault
    F fault;
  } cases[] = {
      {"bare digest with a newline", kThis + "\n", kThis, F::None},
      {"bare digest without one", kThis, kThis, F::None},
      {"bare digest, CR LF and spaces", "  " + kThis + " \r\n\r\n", kThis, F::None},
      {"upper case, kept as lower", kUpper + "\n", kOther, F::None},
      {"sha256sum, text mode", kThis + "  VQ_1.2.0.bin\n", kThis, F::None},
      {"sha256sum, binary mode", kThis + " *VQ_1.2.0.bin\n", kThis, F::None},
      {"a BOM before it", "\xEF\xBB\xBF" + kThis + "  VQ_1.2.0.bin\r\n", kThis, F::None},
      {"several files, this one in the middle",
       kOther + "  VQ_1.1.0.bin\n" + kThis + "  VQ_1.2.0.bin\n" + kOther + "  VQ_1.3.0.bin\n", kThis, F::None},
      {"listed from the folder above", kOther + "  VQ_1.1.0.bin\n" + kThis + " *dist/VQ_1.2.0.bin\n", kThis, F::None},
      {"the only line names another file", kOther + "  VQ_1.1.0.bin\n", kOther, F::None},
      {"a comment beside the one digest", "# VQ firmware 1.2.0\n" + kThis + "  VQ_1.2.0.bin\n", kThis, F::None},
      {"several files, none this one", kOther + "  VQ_1.1.0.bin\n" + kThis + "  VQ_1.3.0.bin\n", "", F::NotForThisFile},
      {"a name that only ends like it", kOther + "  OLD_VQ_1.2.0.bin\n" + kThis + "  x.bin\n", "", F::NotForThisFile},
      {"garbage", "404 Not Found\n<html>", "", F::NoDigest},
      {"empty", "", "", F::NoDigest},
      {"only blank lines", "\n\r\n  \n", "", F::NoDigest},
      {"63 digits", kThis.substr(1) + "\n", "", F::NoDigest},
      {"65 digits", kThis + "a\n", "", F::NoDigest},
      {"65 digits and the name", kThis + "a  VQ_1.2.0.bin\n", "", F::NoDigest},
      {"a SHA-1 digest", std::string(40, 'b') + "  VQ_1.2.0.bin\n", "", F::NoDigest},
      {"not hex", std::string(63, 'a') + "g  VQ_1.2.0.bin\n", "", F::NoDigest},
  };
  for (const auto& c : cases) {
    const ExpectedDigest d = fncParseChecksumText(c.text, "VQ_1.2.0.bin");
    EXPECT_EQ(d.hex, c.hex) << c.what;
    EXPECT_EQ(d.fault, c.fault) << c.what;
  }
}

TEST(ChecksumText, TheVerdictOfTheOperatorsDigestTheFileAndTheBytes) {
  using C = ChecksumCheck;
  using S = ChecksumFileState;
  const std::string listing = kThis + "  VQ_1.2.0.bin\n";
  const struct {
    const char* what;
    std::string given;
    ChecksumFile file;
    C check;
    std::string expected;
  } cases[] = {
      {"no checksum at all", "", {S::Absent, ""}, C::NotChecked, ""},
      {"the file agrees", "", {S::Read, listing}, C::Verified, kThis},
      {"the file disagrees", "", {S::Read, kOther + "\n"}, C::Mismatch, kOther},
      {"the file cannot be read", "", {S::Unreadable, ""}, C::Unreadable, ""},
      {"the file holds no digest", "", {S::Read, "garbage\n"}, C::NoDigest, ""},
      {"the file lists others only", "", {S::Read, kOther + "  a.bin\n" + kOther + "  b.bin\n"}, C::NotForThisFile, ""},
      {"given, no file", kThis, {S::Absent, ""}, C::Verified, kThis},
      {"given in upper case", std::string(64, 'A'), {S::Absent, ""}, C::Verified, kThis},
      // The operator's digest goes first, whatever the file says.
      {"given wrong, the file right", kOther, {S::Read, listing}, C::Mismatch, kOther},
      {"given right, the file unreadable", kThis, {S::Unreadable, ""}, C::Verified, kThis},
  };
  for (const auto& c : cases) {
    const ChecksumVerdict v = fncCheckChecksum(kThis, c.given, c.file, "VQ_1.2.0.bin");
    EXPECT_EQ(v.check, c.check) << c.what;
    EXPECT_EQ(v.expected, c.expected) << c.what;
  }
}

}  // namespace
}  // namespace vq
