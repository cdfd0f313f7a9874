// PLACEHOLDER until file selection lands.
#include "image/file_select.h"
namespace vq {
void subSelectFile() {}
}  // namespace vq
