#include "platform/native/console_platform.h"

#include <cstdlib>
#include <string_view>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#endif

namespace vq::native {

namespace {
// As the window's platform: a yield this soon after the last one finds nothing new, and the
// image stage yields once per byte.
constexpr auto kYieldAgain = std::chrono::microseconds(200);
constexpr int kLangJapaneseId = 1041;
constexpr int kLangEnglishId = 1033;
}  // namespace

void ConsolePlatform::doEvents() {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastEvents_ < kYieldAgain) return;
  loop_.runOnce(false);
  lastEvents_ = now;
}

void ConsolePlatform::waitEvents() {
  loop_.runOnce(true);
  lastEvents_ = std::chrono::steady_clock::now();
}

void ConsolePlatform::sleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void ConsolePlatform::messageBox(const std::string& text) {
  if (onMessage) onMessage(text);
}

std::string ConsolePlatform::openFileDialog(const std::string&, const std::string&) { return fileAnswer_; }

int ConsolePlatform::systemLanguage() {
#ifdef _WIN32
  // The system's default language: 1041 is Japanese (Japan).
  return ::GetSystemDefaultLangID() == kLangJapaneseId ? kLangJapaneseId : kLangEnglishId;
#else
  // The POSIX order for the language of messages: LC_ALL, LC_MESSAGES, LANG.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(name);
    if (!v || !*v) continue;
    return std::string_view(v).substr(0, 2) == "ja" ? kLangJapaneseId : kLangEnglishId;
  }
  return kLangEnglishId;
#endif
}

int ConsolePlatform::systemLangId() { return langId_ != 0 ? langId_ : systemLanguage(); }

std::string ConsolePlatform::deviceName(int comPort) { return map_.deviceName(comPort); }

}  // namespace vq::native
