#include "win32ui/window_platform.h"

#include <commdlg.h>
#include <setupapi.h>

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

namespace {
// The device class of serial and parallel ports (devguid.h's GUID_DEVCLASS_PORTS, whose
// definition needs a library of its own).
constexpr GUID kPortsClass{0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
}  // namespace

std::string WindowPlatform::portDescription(int comPort) {
  const std::wstring com = L"COM" + std::to_wstring(comPort);
  HDEVINFO devices = ::SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
  if (devices == INVALID_HANDLE_VALUE) return deviceName(comPort);
  std::wstring friendly;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD i = 0; friendly.empty() && ::SetupDiEnumDeviceInfo(devices, i, &device); ++i) {
    HKEY key = ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) continue;
    wchar_t port[32] = {};
    DWORD size = sizeof port - sizeof(wchar_t), type = 0;
    const bool ours = ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(port), &size) ==
                          ERROR_SUCCESS && type == REG_SZ && com == port;
    ::RegCloseKey(key);
    wchar_t name[256] = {};
    if (ours && ::SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, nullptr,
                                                    reinterpret_cast<BYTE*>(name), sizeof name - sizeof(wchar_t), nullptr))
      friendly = name;
  }
  ::SetupDiDestroyDeviceInfoList(devices);
  // "USB Serial Port (COM5)": the number is already in front of it.
  if (const std::wstring tail = L" (" + com + L")";
      friendly.size() > tail.size() && friendly.compare(friendly.size() - tail.size(), tail.size(), tail) == 0)
    friendly.resize(friendly.size() - tail.size());
  return friendly.empty() ? deviceName(comPort) : native::utf8Text(friendly);
}

}  // namespace vq::win32ui
