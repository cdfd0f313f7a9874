// Instruction texts of the wizard steps.
#pragma once
#include "base/texts.h"

namespace vq {

enum class InfoText { T1, T2a, T2b, T3, T4, T5a, T5b, T6, T7a, T7b, T8 };
const Text& stepText(InfoText t);

}  // namespace vq
