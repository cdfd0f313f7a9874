// The click of cmdFWFileSel: the chosen update file read whole, checked, and shown.
#include "app/file_select.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <string>

#include "base/error_display.h"
#include "base/firmware_file.h"
#include "base/forms.h"
#include "base/image_state.h"
#include "base/progress.h"
#include "base/sha256.h"
#include "base/state.h"
#include "base/texts.h"
#include "base/utf8_path.h"
#include "base/wizard_codes.h"
#include "image/file_checksum.h"
#include "image/update_file_read.h"
#include "platform/platform.h"

namespace vq {

namespace {

// The codes of the file selection are shown at once and never reach the wizard's sequence;
// gFileSelectCode keeps the one shown.
void showAtOnce(std::uint8_t code) {
  gFileSelectCode = code;
  gErrCode = code;
  subShowError();
  gErrCode = 0;
}

// What the selection says of the file's SHA-256. A text split in two goes around a name.
constexpr Text kShaOf[2]{{"", "SHA-256 of "}, {" の SHA-256：", ": "}};
constexpr Text kShaCompare{"（配布元が公開している値と照らし合わせてください）", " (compare it with the publisher's)"};
constexpr Text kShaVerified{"チェックサム（SHA-256）を確認しました：", "SHA-256 checksum verified: "};
constexpr Text kShaSays[2]{{"。", "; "}, {" の値：", " says: "}};
constexpr Text kShaUnreadable{" を読み込めません。ファイルの SHA-256 を照合できません。",
                              " cannot be read; the file's SHA-256 cannot be checked."};
constexpr Text kShaNoDigest{" に SHA-256 の値がありません。", " holds no SHA-256 digest."};
constexpr Text kShaNotForFile[2]{{" に ", " holds no SHA-256 digest for "}, {" の SHA-256 の値がありません。", "."}};

std::string around(const Text (&t)[2], const std::string& name) { return pick(t[0]) + name + pick(t[1]); }

// The selection's line below the progress box (none when empty), in place of the earlier
// selection's while the box still ends with it: choosing one file after another shows the
// last one's only, and what a step wrote since stays.
void showSelectionLine(const std::string& line) {
  const std::string& box = frmMain.txtProcess.text;
  const std::string& earlier = gFileSelectionLines;
  if (!earlier.empty() && box.size() >= earlier.size() &&
      box.compare(box.size() - earlier.size(), earlier.size(), earlier) == 0)
    progress().line(box.substr(0, box.size() - earlier.size()), ProgressLine::Restart);
  const std::size_t before = frmMain.txtProcess.text.size();
  if (!line.empty()) subShowBelowProgress(line);
  gFileSelectionLines = frmMain.txtProcess.text.substr(before);
  progress().showNow();  // in view behind a message that follows
}

// The checksum's line for the chosen file; true when the file may be used.
bool checkSha256(const std::string& path) {
  const std::string actual = sha256Hex(gFileData);
  const std::string checksumPath = fncChecksumPathFor(path);
  // The operator's digest goes before the file's, which then is not even read.
  const ChecksumFile file = gFileSha256Expected.empty() ? fncReadChecksumFile(checksumPath) : ChecksumFile{};
  const ChecksumVerdict v = fncCheckChecksum(actual, gFileSha256Expected, file, gFileTitle);
  const std::string source = gFileSha256Expected.empty() ? utf8Of(pathOf(checksumPath).filename()) : "--sha256";
  std::string line;
  switch (v.check) {
    case ChecksumCheck::NotChecked: line = around(kShaOf, gFileTitle) + actual + pick(kShaCompare); break;
    case ChecksumCheck::Verified: line = pick(kShaVerified) + actual; break;
    case ChecksumCheck::Mismatch:
      line = around(kShaOf, gFileTitle) + actual + around(kShaSays, source) + v.expected;
      break;
    case ChecksumCheck::Unreadable: line = source + pick(kShaUnreadable); break;
    case ChecksumCheck::NoDigest: line = source + pick(kShaNoDigest); break;
    case ChecksumCheck::NotForThisFile: line = source + around(kShaNotForFile, gFileTitle); break;
  }
  showSelectionLine(line);
  return v.check == ChecksumCheck::NotChecked || v.check == ChecksumCheck::Verified;
}

}  // namespace

void subSelectFile() {
  gFileSelectCode = 0;
  const std::string path = platform().openFileDialog("Bin code", "*.bin");

  if (path.empty()) {
    gFilePath.clear();
    gFileTitle.clear();
    frmMain.lblFWFile.caption = gFileTitle;
    return;
  }

  // Nothing of the chosen file is kept until it has been read whole: a failure below leaves
  // the earlier choice standing, so step 5 never writes bytes from a file that failed.
  switch (fncClassifyPath(path)) {
    case PathKind::Missing:
      showAtOnce(kCodeFileName);
      frmMain.cmdNext.enabled = false;
      return;
    case PathKind::Unusable:
      showAtOnce(kCodeFileOpen);
      return;
    case PathKind::RegularFile:
      break;
  }

  std::optional<Bytes> data;
  try {
    data = fncReadWholeFile(path);
  } catch (const std::exception&) {  // out of memory, stream failures
    data.reset();
  }
  if (!data || data->size() < std::size_t(kHeaderSize)) {
    showAtOnce(kCodeFileOpen);
    return;
  }

  gFilePath = path;
  gFileTitle = utf8Of(pathOf(path).filename());
  frmMain.lblFWFile.caption = gFileTitle;
  gFileLength = static_cast<std::int32_t>(data->size());
  gFileData = std::move(*data);

  // The header first: a file that is no update file has no checksum worth a line. A damaged
  // download keeps its header, which only the checksum catches.
  const bool magic = fncHasUpdateMagic(gFileData);
  if (!magic) showSelectionLine("");  // the earlier file's lines no longer apply
  if (magic && checkSha256(path)) {
    frmMain.lblFWNew.caption = fncFileVersionText(gFileData);
    gFileValid = true;
    frmMain.cmdNext.enabled = true;
  } else {
    showAtOnce(kCodeFileInvalid);
    gFileValid = false;
    frmMain.cmdNext.enabled = false;
  }
}

}  // namespace vq
