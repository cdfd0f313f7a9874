#include "base/texts.h"

#include "base/state.h"

namespace vq {

std::string pick(const Text& t) { return gLangId == kLangJapanese ? t.ja : t.en; }

std::string windowFont() { return gLangId == kLangJapanese ? kFontJapanese : kFontEnglish; }

}  // namespace vq
