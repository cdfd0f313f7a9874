#pragma once

namespace vq {

// The click of cmdFWFileSel: choose, read and check the update file.
void subSelectFile();

}  // namespace vq
