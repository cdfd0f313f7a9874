#include "win32ui/window_platform.h"

#include <commdlg.h>

#include <thread>
#include <vector>

#include "platform/native/console_platform.h"
#include "platform/native/windows_text.h"

namespace vq::win32ui {

namespace {
using Clock = std::chrono::steady_clock;
// As the Qt window: a yield this soon after the last finds nothing new (the image stage
// yields once per byte), and the models are copied ten times a second while steps run.
constexpr auto kYieldAgain = std::chrono::microseconds(200);
constexpr auto kMirrorEvery = std::chrono::milliseconds(100);
constexpr wchar_t kBoxTitle[] = L"vq-update";
constexpr int kIdleMirrorMs = 50;
}  // namespace

WindowPlatform::WindowPlatform(const native::ComPortMap& map, WindowLoop& loop) : map_(map), loop_(loop) {
  idleMirror_ = loop_.events().timer(false, [this] { mirrorIfDue(); });
  idleMirror_->start(kIdleMirrorMs);
}

void WindowPlatform::mirrorAll() {
  lastMirror_ = Clock::now();
  if (mirror) mirror();
}

void WindowPlatform::mirrorIfDue() {
  if (Clock::now() - lastMirror_ >= kMirrorEvery) mirrorAll();
}

void WindowPlatform::doEvents() {
  const auto now = Clock::now();
  if (now - lastEvents_ < kYieldAgain) return;
  loop_.pump(false);
  lastEvents_ = Clock::now();
  mirrorIfDue();
}

void WindowPlatform::waitEvents() {
  loop_.pump(true);
  lastEvents_ = Clock::now();
  mirrorIfDue();
}

void WindowPlatform::sleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int WindowPlatform::box(const std::string& text, UINT type) {
  mirrorAll();
  HWND parent = owner ? owner() : nullptr;
  WindowLoop::ModalScope modal(loop_);
  return ::MessageBoxW(parent, native::wideText(text).c_str(), kBoxTitle, type | MB_SETFOREGROUND);
}

void WindowPlatform::messageBox(const std::string& text) { box(text, MB_OK); }

bool WindowPlatform::askYesNo(const std::string& text) { return box(text, MB_YESNO | MB_DEFBUTTON1) == IDYES; }

std::string WindowPlatform::openFileDialog(const std::string& description, const std::string& pattern) {
  mirrorAll();
  if (fileAnswer_) return *fileAnswer_;
  // "Bin code\0*.bin\0\0": the description, then the pattern.
  std::wstring filter = native::wideText(description);
  filter.push_back(L'\0');
  filter += native::wideText(pattern);
  filter.push_back(L'\0');
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner ? owner() : nullptr;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  WindowLoop::ModalScope modal(loop_);
  if (!::GetOpenFileNameW(&ofn)) return {};
  return native::utf8Text(file.data());
}

int WindowPlatform::systemLangId() { return native::ConsolePlatform::systemLanguage(); }

void WindowPlatform::setBusyCursor(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  // The windows answer WM_SETCURSOR with it from now on; this sets it under the mouse now.
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

int WindowPlatform::screenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int WindowPlatform::screenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

std::string WindowPlatform::deviceName(int comPort) { return map_.deviceName(comPort); }

}  // namespace vq::win32ui
