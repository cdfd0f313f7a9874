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
#include "base/state.h"
#include "base/utf8_path.h"
#include "base/wizard_codes.h"
#include "image/update_file_read.h"
#include "platform/platform.h"

namespace vq {

namespace {

// The codes of the file selection are shown at once and never reach the wizard's sequence.
void showAtOnce(std::uint8_t code) {
  gErrCode = code;
  subShowError();
  gErrCode = 0;
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

  if (fncHasUpdateMagic(gFileData)) {
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
