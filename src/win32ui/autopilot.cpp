#include "win32ui/autopilot.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "base/forms.h"
#include "base/utf8_path.h"
#include "platform/native/windows_text.h"
#include "win32ui/png_file.h"

namespace vq::win32ui {

namespace {
// The text of a message box is its static control of this id, on Windows and under Wine.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string windowText(HWND w) {
  const int len = ::GetWindowTextLengthW(w);
  std::wstring text(std::size_t(len) + 1, L'\0');
  ::GetWindowTextW(w, text.data(), len + 1);
  text.resize(std::size_t(len));
  return native::utf8Text(text);
}

// The first visible dialog-class window of this thread: a message box (the file dialog is
// answered without being shown; the program's own dialogs have a class of their own).
HWND visibleBox() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        wchar_t cls[16];
        if (!::IsWindowVisible(w) || !::GetClassNameW(w, cls, 16) || ::lstrcmpW(cls, L"#32770") != 0) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}
}  // namespace

bool saveWindowPng(HWND w, const std::string& path) {
  if (!w || !::IsWindow(w)) return false;
  ::RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r;
  ::GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  // From the screen, where the window is in front: what the operator sees, title bar included.
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (dib && bits) {
    HGDIOBJ old = ::SelectObject(mem, dib);
    ok = ::BitBlt(mem, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT) != 0;
    ::GdiFlush();
    ::SelectObject(mem, old);
    if (ok) {
      std::vector<std::uint8_t> rgb(std::size_t(width) * std::size_t(height) * 3);
      const auto* px = static_cast<const std::uint8_t*>(bits);
      for (std::size_t i = 0, n = std::size_t(width) * std::size_t(height); i < n; ++i) {
        rgb[i * 3] = px[i * 4 + 2];
        rgb[i * 3 + 1] = px[i * 4 + 1];
        rgb[i * 3 + 2] = px[i * 4];
      }
      const std::vector<std::uint8_t> png = encodePng(width, height, rgb);
      std::FILE* f = _wfopen(native::wideText(path).c_str(), L"wb");
      ok = f && std::fwrite(png.data(), 1, png.size(), f) == png.size();
      if (f) ok = std::fclose(f) == 0 && ok;
    }
  }
  if (dib) ::DeleteObject(dib);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return ok;
}

Autopilot::Autopilot(WindowLoop& loop, WindowPlatform& platform, ProgramWindows& windows, std::string outDir,
                     std::string file)
    : loop_(loop), platform_(platform), windows_(windows), outDir_(std::move(outDir)), file_(std::move(file)) {
  plan_.print = [](const std::string& line) {
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
  };
}

Autopilot::~Autopilot() {
  tick_.reset();
  watchdog_.reset();
  platform_.setFileAnswer(std::nullopt);
}

std::int64_t Autopilot::nowMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_).count();
}

void Autopilot::start() {
  watchdog_ = std::make_unique<front::AutopilotWatchdog>();
  std::error_code ec;
  std::filesystem::create_directories(pathOf(outDir_), ec);
  platform_.setFileAnswer(file_);
  started_ = stalledSince_ = std::chrono::steady_clock::now();
  // A timer of the loop: it ticks inside the steps' waits and, through the waker, inside the
  // message boxes, where it finds them and closes them.
  tick_ = loop_.events().timer(false, [this] { tick(); });
  tick_->start(front::AutopilotPlan::kTickMs);
}

void Autopilot::stop() {
  if (tick_) tick_->stop();
  ::PostQuitMessage(1);
}

void Autopilot::save(HWND w, const std::string& name) {
  const std::string path = utf8Of(pathOf(outDir_) / pathOf(name));
  plan_.saved(path, saveWindowPng(w, path));
}

void Autopilot::click(const char* name) {
  HWND button = windows_.main().control(name);
  if (!button) {
    plan_.giveUp(std::string("the window has no ") + name + " button");
    stop();
    return;
  }
  platform_.mirrorAll();  // the button's enabled state follows the model
  clickPending_ = true;
  // From a message of its own: a step runs nested inside the click, and this tick must have
  // returned for its timer to go on ticking meanwhile.
  loop_.post([this, button] {
    ::SendMessageW(button, BM_CLICK, 0, 0);
    clickPending_ = false;
    stalledSince_ = std::chrono::steady_clock::now();
  });
}

bool Autopilot::handleMessageBox() {
  HWND box = visibleBox();
  if (!box) return false;
  plan_.messageShown(windowText(::GetDlgItem(box, kMessageBoxTextId)));
  save(box, plan_.messageShotName());
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  if (plan_.tooManyMessages()) stop();
  return true;
}

void Autopilot::tick() {
  if (handleMessageBox()) return;
  plan_.report(nowMs());
  HWND main = windows_.main().hwnd();
  if (!main) return;
  if (plan_.midStepShotDue()) {
    platform_.mirrorAll();
    save(main, plan_.midShotName());
  }
  if (clickPending_) return;
  const auto stalled =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - stalledSince_).count();
  switch (plan_.next(frmMain.stepRunning, stalled)) {
    case front::AutopilotPlan::Action::Wait: return;
    case front::AutopilotPlan::Action::ChooseFile: click("cmdFWFileSel"); return;
    case front::AutopilotPlan::Action::Shoot:
      platform_.mirrorAll();
      save(main, plan_.stepShotName());
      return;
    case front::AutopilotPlan::Action::PressNext: click("cmdNext"); return;
    case front::AutopilotPlan::Action::GiveUp: stop(); return;
  }
}

}  // namespace vq::win32ui
