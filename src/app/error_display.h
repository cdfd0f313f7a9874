// The one display of failures: gErrCode to a localized message box.
#pragma once
#include "app/texts.h"

namespace vq {

// The message of an error code, or nullptr for 0 and codes without a text.
const Text* errorText(int code);
// Shows the message of gErrCode (nothing for 0 or unknown codes); gErrCode is left as it is.
void subShowError();

}  // namespace vq
