// Every operator-visible text is a (Japanese, English) pair, picked by gLangId when shown.
#pragma once
#include <string>

namespace vq {

constexpr int kLangJapanese = 1041;
constexpr const char* kFontJapanese = "ＭＳ ゴシック";
constexpr const char* kFontEnglish = "Courier New";

struct Text {
  const char* ja;
  const char* en;
};

// The text of the operator's language.
std::string pick(const Text& t);
// The window font of the operator's language.
std::string windowFont();

}  // namespace vq
