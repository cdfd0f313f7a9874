#include "platform/native/console_platform.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string_view>

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
  if (ms <= 0) return;
  timespec t{ms / 1000, long(ms % 1000) * 1'000'000L};
  while (::nanosleep(&t, &t) != 0 && errno == EINTR) {
  }
}

void ConsolePlatform::messageBox(const std::string& text) {
  if (onMessage) onMessage(text);
}

std::string ConsolePlatform::openFileDialog(const std::string&, const std::string&) { return fileAnswer_; }

int ConsolePlatform::systemLanguage() {
  // The POSIX order for the language of messages: LC_ALL, LC_MESSAGES, LANG.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(name);
    if (!v || !*v) continue;
    return std::string_view(v).substr(0, 2) == "ja" ? kLangJapaneseId : kLangEnglishId;
  }
  return kLangEnglishId;
}

int ConsolePlatform::systemLangId() { return langId_ != 0 ? langId_ : systemLanguage(); }

std::string ConsolePlatform::deviceName(int comPort) {
  const std::string path = map_.pathFor(comPort);
  return path.empty() ? std::string() : path.substr(path.find_last_of('/') + 1);
}

}  // namespace vq::native
