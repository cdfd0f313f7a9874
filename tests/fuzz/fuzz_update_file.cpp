// Update file selection and the write blocks built from it: any bytes as the chosen file.
// Holds whatever the bytes: a file the selection rejects leaves the earlier choice standing
// (too short: nothing changes; no magic: not valid, Next off); an accepted file is held byte
// for byte and becomes the image of its body padded with 0xFF, or result 36 when too long.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "app/file_select.h"
#include "app/reset_all_state.h"
#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/forms.h"
#include "base/image_state.h"
#include "base/state.h"
#include "fuzz/fuzz_support.h"
#include "image/write_blocks.h"

using namespace vq;

namespace {

constexpr std::string_view kMagic = "VQ-SYSTEM FIRMWARE Q.VELDORAN VER";
constexpr std::size_t kHeader = 48, kImage = 512 * 256;

std::string scratchPath() {
  const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(dir) + "/vq-fuzz-" + std::to_string(getpid()) + ".bin";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = scratchPath();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  const Bytes file(data, data + size);

  resetAllState();
  virt::VirtualPlatform p;
  // An earlier valid choice, which a rejected file must not disturb.
  const Bytes earlier(kHeader + 10, 0x11);
  gFileData = earlier;
  gFileLength = std::int32_t(earlier.size());
  gFileValid = true;
  gFilePath = "/earlier/VQ_1.0.0.bin";
  frmMain.lblFWNew.caption = "Ver.1.0.0";
  frmMain.cmdNext.enabled = true;

  p.fileAnswers.push_back(path);
  subSelectFile();

  const bool magic = size >= kHeader &&
                     std::string_view(reinterpret_cast<const char*>(data), kHeader).find(kMagic) != std::string_view::npos;
  VQ_FUZZ_CHECK(p.messages.size() <= 1);
  if (size < kHeader) {
    VQ_FUZZ_CHECK(p.messages.size() == 1 && p.messages[0] == errorText(23)->en);
    VQ_FUZZ_CHECK(gFileData == earlier && gFileValid && gFilePath == "/earlier/VQ_1.0.0.bin");
    VQ_FUZZ_CHECK(frmMain.lblFWNew.caption == "Ver.1.0.0" && frmMain.cmdNext.enabled);
  } else if (!magic) {
    VQ_FUZZ_CHECK(p.messages.size() == 1 && p.messages[0] == errorText(22)->en);
    VQ_FUZZ_CHECK(!gFileValid && !frmMain.cmdNext.enabled);
  } else {
    VQ_FUZZ_CHECK(p.messages.empty());
    VQ_FUZZ_CHECK(gFileValid && frmMain.cmdNext.enabled && gFileData == file);
    VQ_FUZZ_CHECK(gFileLength == std::int32_t(size));
    VQ_FUZZ_CHECK(frmMain.lblFWNew.caption == "Ver." + std::to_string(data[33]) + "." + std::to_string(data[35]) +
                                                  "." + std::to_string(data[37]));
  }
  VQ_FUZZ_CHECK(gErrCode == 0);

  if (gFileValid && gFileData == file) {
    const std::uint8_t r = subReadBinFile();
    const std::size_t body = size - kHeader;
    VQ_FUZZ_CHECK(r == (body > kImage ? 36 : 0));
    VQ_FUZZ_CHECK(gErrCode == (body > kImage ? 22 : 0));
    // Compared a block at a time: a check per byte cost more than the code under test.
    Bytes want(data + kHeader, data + kHeader + std::min(body, kImage));
    want.resize(kImage, 0xFF);
    for (std::size_t b = 0; b < kImage / 256; ++b)
      VQ_FUZZ_CHECK(std::memcmp(gImage[b].data(), want.data() + b * 256, 256) == 0);
  }
  return 0;
}
