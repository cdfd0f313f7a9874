// Update files made for tests, and the digest the report prints.
#include <gtest/gtest.h>

#include "base/sha256.h"
#include "update_file.h"

namespace vq::sim {
namespace {

TEST(SimSha256, KnownDigests) {
  struct Case {
    std::string input;
    const char* digest;
  };
  const Case cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // 56 bytes: the length no longer fits the first tail block.
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) EXPECT_EQ(sha256Hex(Bytes(c.input.begin(), c.input.end())), c.digest);
}

TEST(SimUpdateFile, HeaderCarriesMagicAndVersion) {
  UpdateFileOptions o;
  o.v1 = 1;
  o.v2 = 10;
  o.v3 = 99;
  const Bytes f = makeUpdateFile(o);
  ASSERT_EQ(f.size(), kHeaderSize + kFlashSize);
  EXPECT_EQ(std::string(f.begin(), f.begin() + 33), "VQ-SYSTEM FIRMWARE Q.VELDORAN VER");
  EXPECT_EQ(f[33], 1);
  EXPECT_EQ(f[35], 10);
  EXPECT_EQ(f[37], 99);
  EXPECT_EQ(versionInFlash(flashImageOf(f)), (FirmwareVersion{20, 99}));
}

TEST(SimUpdateFile, MagicVariants) {
  auto header = [](MagicKind m) {
    UpdateFileOptions o;
    o.magic = m;
    const Bytes f = makeUpdateFile(o);
    return std::string(f.begin(), f.begin() + 48);
  };
  const std::string magic = kUpdateMagic;
  EXPECT_EQ(header(MagicKind::Good).find(magic), 0u);
  EXPECT_EQ(header(MagicKind::Bad).find(magic), std::string::npos);
  EXPECT_EQ(header(MagicKind::LowerCase).find("vq-system firmware q.veldoran ver"), 0u);
  EXPECT_EQ(header(MagicKind::AtOffset5).find(magic), 5u);
  EXPECT_EQ(header(MagicKind::None).find("VQ-"), std::string::npos);
}

TEST(SimUpdateFile, BodyIsDeterministicBySeedAndSized) {
  UpdateFileOptions a, b;
  b.seed = 2;
  EXPECT_EQ(makeUpdateFile(a), makeUpdateFile(a));
  EXPECT_NE(makeUpdateFile(a), makeUpdateFile(b));
  a.bodySize = 300;
  EXPECT_EQ(makeUpdateFile(a).size(), 348u);
  a.bodySize = kFlashSize + 1;
  EXPECT_EQ(makeUpdateFile(a).size(), kHeaderSize + kFlashSize + 1);
}

TEST(SimUpdateFile, FlashImagePadsWithErasedBytes) {
  UpdateFileOptions o;
  o.bodySize = 300;
  const Bytes f = makeUpdateFile(o);
  const Bytes img = flashImageOf(f);
  ASSERT_EQ(img.size(), kFlashSize);
  EXPECT_TRUE(std::equal(f.begin() + 48, f.end(), img.begin()));
  EXPECT_TRUE(std::all_of(img.begin() + 300, img.end(), [](std::uint8_t x) { return x == 0xFF; }));
  EXPECT_EQ(flashImageOf(Bytes(48, 0)), Bytes(kFlashSize, 0xFF));
}

TEST(SimUpdateFile, VersionRecordCanBeLeftOut) {
  UpdateFileOptions o;
  o.versionRecord = false;
  EXPECT_FALSE(versionInFlash(flashImageOf(makeUpdateFile(o))));
}

TEST(SimUpdateFile, VersionText) {
  auto o = parseVersionText("1.0.2");
  ASSERT_TRUE(o);
  EXPECT_EQ(versionOf(*o), (FirmwareVersion{10, 2}));
  EXPECT_FALSE(parseVersionText("1.0"));
  EXPECT_FALSE(parseVersionText("1.0.256"));
  EXPECT_FALSE(parseVersionText("a.b.c"));
}

}  // namespace
}  // namespace vq::sim
