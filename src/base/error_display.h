// The one display of failures: gErrCode to a localized message box.
#pragma once
#include <functional>
#include <string>

#include "base/texts.h"

namespace vq {

// The message of an error code, or nullptr for 0 and codes without a text.
const Text* errorText(int code);
// Shows the message of gErrCode (nothing for 0 or unknown codes); gErrCode is left as it is.
void subShowError();
// The message box the display shows in; installing the platform connects it.
void setErrorMessageBox(std::function<void(const std::string&)> show);

}  // namespace vq
