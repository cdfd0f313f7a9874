// The checksum file beside an update file (fncParseChecksumText, fncCheckChecksum).
// Input: the file's name up to the first 0 byte, the checksum text after it.
// Holds whatever the bytes: a digest found is 64 lower-case hex digits that stand in the text
// (in either case), none is found with a fault; checking the file's own digest against what
// was found verifies, and any other digest is a mismatch; a digest given by the operator goes
// before the file.
#include <algorithm>
#include <cctype>
#include <string>

#include "fuzz/fuzz_support.h"
#include "image/file_checksum.h"

using namespace vq;

namespace {

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string all(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = all.find('\0');
  const std::string name = cut == std::string::npos ? "VQ_1.2.0.bin" : all.substr(0, cut);
  const std::string text = cut == std::string::npos ? all : all.substr(cut + 1);

  const ExpectedDigest d = fncParseChecksumText(text, name);
  if (d.fault != ChecksumTextFault::None) {
    VQ_FUZZ_CHECK(d.hex.empty());
  } else {
    VQ_FUZZ_CHECK(fncIsSha256Hex(d.hex) && d.hex == lower(d.hex));
    VQ_FUZZ_CHECK(lower(text).find(d.hex) != std::string::npos);
  }

  const ChecksumFile file{ChecksumFileState::Read, text};
  const ChecksumVerdict none = fncCheckChecksum(std::string(64, 'a'), "", file, name);
  if (d.fault == ChecksumTextFault::None) {
    const ChecksumVerdict own = fncCheckChecksum(d.hex, "", file, name);
    VQ_FUZZ_CHECK(own.check == ChecksumCheck::Verified && own.expected == d.hex);
    VQ_FUZZ_CHECK(none.check == (d.hex == std::string(64, 'a') ? ChecksumCheck::Verified : ChecksumCheck::Mismatch));
  } else {
    VQ_FUZZ_CHECK(none.check == ChecksumCheck::NoDigest || none.check == ChecksumCheck::NotForThisFile);
  }
  // The operator's digest wins over the file, in either case of its letters.
  const std::string given = std::string(63, 'B') + "c";
  VQ_FUZZ_CHECK(fncCheckChecksum(lower(given), given, file, name).check == ChecksumCheck::Verified);
  return 0;
}
