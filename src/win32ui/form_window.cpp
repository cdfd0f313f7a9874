#include "win32ui/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/native/windows_text.h"

namespace vq::win32ui {

namespace {

constexpr wchar_t kFormClass[] = L"vq-update.form";
constexpr int kFirstId = 100;
constexpr int kPointSize = 9;  // as the Qt window
constexpr int kListHeight = 160;  // the open list of a drop-down, at 96 DPI

void registerClass() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;  // replaced per window once its object is attached
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  ::RegisterClassExW(&wc);
}

// "&" marks a mnemonic in button and frame captions.
std::wstring captionText(const std::string& s) {
  std::wstring out;
  for (wchar_t c : native::wideText(s)) {
    if (c == L'&') out += L'&';
    out += c;
  }
  return out;
}

struct ClassAndStyle {
  const wchar_t* cls;
  DWORD style;
  DWORD exStyle;
};

ClassAndStyle classOf(Kind k) {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (k) {
    case Kind::Group: return {L"BUTTON", child | BS_GROUPBOX, 0};
    case Kind::Label: return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, 0};
    case Kind::Center: return {L"STATIC", child | SS_CENTER | SS_NOPREFIX | SS_CENTERIMAGE, 0};
    case Kind::Panel:
      return {L"STATIC", child | SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE | SS_PATHELLIPSIS, WS_EX_STATICEDGE};
    case Kind::CenterPanel: return {L"STATIC", child | SS_CENTER | SS_NOPREFIX | SS_CENTERIMAGE, WS_EX_STATICEDGE};
    case Kind::Note: return {L"STATIC", child | SS_LEFT | SS_NOPREFIX, WS_EX_STATICEDGE};
    case Kind::Button: return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::DefaultButton: return {L"BUTTON", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    case Kind::TextBox:
      return {L"EDIT", child | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Edit: return {L"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Combo: return {L"COMBOBOX", child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case Kind::Progress: return {PROGRESS_CLASSW, child | PBS_SMOOTH, 0};
  }
  return {L"STATIC", child, 0};
}

}  // namespace

std::wstring windowsText(const std::string& s) {
  std::wstring out;
  const std::wstring w = native::wideText(s);
  out.reserve(w.size() + w.size() / 16);
  for (std::size_t i = 0; i < w.size(); ++i) {
    if (w[i] == L'\r') continue;
    if (w[i] == L'\n') out += L'\r';
    out += w[i];
  }
  return out;
}

int dpiOf(HWND hwnd) {
  // GetDpiForWindow is Windows 10's (1607); looked up, so the program still starts on an
  // older system, where the system's DPI is the answer.
  using Fn = UINT(WINAPI*)(HWND);
  static const Fn fn = [] {
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    FARPROC p = user ? ::GetProcAddress(user, "GetDpiForWindow") : nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
  }();
  if (fn && hwnd) {
    if (const UINT d = fn(hwnd)) return int(d);
  }
  HDC dc = ::GetDC(nullptr);
  const int d = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::ReleaseDC(nullptr, dc);
  return d > 0 ? d : 96;
}

FormWindow::FormWindow(const char* form, std::vector<ControlSpec> specs) : form_(form), specs_(std::move(specs)) {}

FormWindow::~FormWindow() {
  destroy();
  if (normal_) ::DeleteObject(normal_);
  if (bold_) ::DeleteObject(bold_);
}

void FormWindow::destroy() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  ::DestroyWindow(h);
  hwnd_ = nullptr;
}

void FormWindow::create(HWND owner, DWORD style, DWORD exStyle, int x, int y, bool statusBar) {
  registerClass();
  HINSTANCE inst = ::GetModuleHandleW(nullptr);
  hwnd_ = ::CreateWindowExW(exStyle, kFormClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner, nullptr,
                            inst, nullptr);
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormWindow::proc));
  dpi_ = dpiOf(hwnd_);
  for (std::size_t i = 0; i < specs_.size(); ++i) {
    const ClassAndStyle cs = classOf(specs_[i].kind);
    HWND c = ::CreateWindowExW(cs.exStyle, cs.cls, L"", cs.style, 0, 0, 10, 10, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + int(i))), inst, nullptr);
    ::SetWindowTextA(c, "");
    controls_.push_back(c);
    if (specs_[i].kind == Kind::Progress) ::SendMessageW(c, PBM_SETRANGE32, 0, 1);
  }
  if (statusBar) status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 0, 0, 0, hwnd_,
                                             nullptr, inst, nullptr);
  makeFonts();
  place();
  // The window's outer size for its client area in the table, and its place.
  RECT r{0, 0, 100, 100};
  ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  const Rect client = placeOf(form_, 0);
  const int w = scale(client.w) + (r.right - r.left - 100), h = scale(client.h) + (r.bottom - r.top - 100);
  if (x < 0) {
    RECT area;
    if (owner && ::IsWindowVisible(owner)) {
      ::GetWindowRect(owner, &area);
    } else {
      ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    x = std::max(0L, area.left + (area.right - area.left - w) / 2);
    y = std::max(0L, area.top + (area.bottom - area.top - h) / 2);
  }
  ::SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::arrange(Arrangement shown) {
  if (shown == arrangement_) return;
  arrangement_ = shown;
  if (!hwnd_) return;
  place();
  fitClient();
}

void FormWindow::fitClient() {
  RECT client, outer;
  ::GetClientRect(hwnd_, &client);
  ::GetWindowRect(hwnd_, &outer);
  const Rect want = placeOf(form_, 0);
  const int dw = scale(want.w) - client.right, dh = scale(want.h) - client.bottom;
  if (dw != 0 || dh != 0)
    ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dw, outer.bottom - outer.top + dh,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

Rect FormWindow::placeOf(std::string_view control, int index) const {
  const Face face = faceOf(face_);
  // The table answers for the form's client area under the form's own name.
  if (control == form_ || index < 0) return vq::placeOf(form_, form_, 0, face, arrangement_);
  const ControlPlace& p = vq::placeOf(form_, control, index, arrangement_);
  Rect r = p.in(face);
  if (!p.container.empty()) {
    const Rect c = placeOf(p.container, 0);
    r.x += c.x;
    r.y += c.y;
  }
  return r;
}

void FormWindow::moveTo(int x, int y) {
  if (hwnd_) ::SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND FormWindow::control(std::string_view name) const {
  if (name == "stsAppStatus") return status_;
  for (std::size_t i = 0; i < specs_.size(); ++i)
    if (name == specs_[i].name) return controls_[i];
  return nullptr;
}

void FormWindow::makeFonts() {
  if (normal_) ::DeleteObject(normal_);
  if (bold_) ::DeleteObject(bold_);
  const std::wstring face = native::wideText(face_.empty() ? "Courier New" : face_);
  const int height = -MulDiv(kPointSize, dpi_, 72);
  // The Japanese face is drawn from its bitmaps at this size (MS Gothic, and IPAGothic in its
  // place); a smoothed bold of it is drawn from the outlines in grey and reads lighter than
  // the plain text, so it is drawn unsmoothed like the bitmaps.
  const DWORD quality = faceOf(face_) == Face::Japanese ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
  auto make = [&](int weight) {
    return ::CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, quality, FIXED_PITCH | FF_MODERN, face.c_str());
  };
  normal_ = make(FW_NORMAL);
  bold_ = make(FW_BOLD);
  for (HWND c : controls_) ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(normal_), TRUE);
  if (status_) ::SendMessageW(status_, WM_SETFONT, reinterpret_cast<WPARAM>(normal_), TRUE);
}

void FormWindow::place() {
  for (std::size_t i = 0; i < specs_.size(); ++i) {
    // lblProcess01 .. lblProcess08 are the table's lblProcess 1 .. 8.
    std::string_view name = specs_[i].name;
    int index = 0;
    if (name.size() == 12 && name.substr(0, 10) == "lblProcess") {
      index = (name[10] - '0') * 10 + (name[11] - '0');
      name = name.substr(0, 10);
    }
    Rect p;
    try {
      p = placeOf(name, index);
    } catch (const std::out_of_range&) {
      // Not in this arrangement (the forced-update dialog's saved line): hidden by its model.
    }
    // A list's window is its closed field and its open list together.
    const int h = specs_[i].kind == Kind::Combo ? p.h + kListHeight : p.h;
    ::SetWindowPos(controls_[i], nullptr, scale(p.x), scale(p.y), scale(p.w), scale(h), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (status_) {
    const Rect bar = placeOf("stsAppStatus", 0);
    ::SetWindowPos(status_, nullptr, scale(bar.x), scale(bar.y), scale(bar.w), scale(bar.h), SWP_NOZORDER | SWP_NOACTIVATE);
    const Rect first = vq::placeOf(form_, "stsAppStatusPanel", 1, faceOf(face_));
    const int parts[2] = {scale(first.right() + (vq::placeOf(form_, "stsAppStatusPanel", 2, faceOf(face_)).x - first.right()) / 2), -1};
    ::SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  }
}

LRESULT CALLBACK FormWindow::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<FormWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || self->hwnd_ != hwnd) return ::DefWindowProcW(hwnd, msg, wp, lp);
  return self->handle(msg, wp, lp);
}

LRESULT FormWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  HWND self = hwnd_;  // gone from the object at WM_NCDESTROY
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp) - kFirstId;
      if (id == IDCANCEL - kFirstId && onClose) {  // Escape in a dialog
        onClose();
        return 0;
      }
      if (id == IDOK - kFirstId) {  // Enter in a dialog: its default button
        for (std::size_t i = 0; i < specs_.size(); ++i)
          if (specs_[i].kind == Kind::DefaultButton && ::IsWindowEnabled(controls_[i])) id = int(i);
        if (id < 0) return 0;
        wp = MAKEWPARAM(kFirstId + id, BN_CLICKED);
      }
      if (id < 0 || id >= int(specs_.size()) || !onCommand) break;
      const int code = HIWORD(wp);
      if (specs_[id].kind == Kind::Edit && (code != EN_CHANGE || mirroring_)) return 0;
      onCommand(specs_[id].name, code);
      return 0;
    }
    case WM_CLOSE:
      if (onClose) onClose();
      return 0;
    case WM_SETCURSOR:
      if (busy && busy()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      // A read-only text box keeps the white of a text box, as the Qt window's.
      wchar_t cls[16];
      HWND c = reinterpret_cast<HWND>(lp);
      if (::GetClassNameW(c, cls, 16) && ::lstrcmpiW(cls, L"Edit") == 0) {
        HDC dc = reinterpret_cast<HDC>(wp);
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      ::SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      makeFonts();
      place();
      last_.clear();
      shown_.clear();
      if (onRemirror) onRemirror();
      return 0;
    }
    case WM_ENTERSIZEMOVE:
    case WM_ENTERMENULOOP:
      if (onModalLoop) onModalLoop(true);
      break;
    case WM_EXITSIZEMOVE:
    case WM_EXITMENULOOP:
      if (onModalLoop) onModalLoop(false);
      break;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      controls_.clear();
      status_ = nullptr;
      last_.clear();
      shown_.clear();
      break;
    default: break;
  }
  return ::DefWindowProcW(self, msg, wp, lp);
}

bool FormWindow::changed(HWND w, const std::string& now) {
  auto [it, added] = last_.try_emplace(w, now);
  if (added) return true;
  if (it->second == now) return false;
  it->second = now;
  return true;
}

void FormWindow::show(HWND w, bool visible) {
  if (bool(::IsWindowVisible(w)) != visible && ::IsWindowVisible(hwnd_)) ::ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
  if (!::IsWindowVisible(hwnd_)) {
    const LONG_PTR style = ::GetWindowLongPtrW(w, GWL_STYLE);
    const LONG_PTR want = visible ? (style | WS_VISIBLE) : (style & ~LONG_PTR(WS_VISIBLE));
    if (want != style) ::SetWindowLongPtrW(w, GWL_STYLE, want);
  }
}

void FormWindow::font(const std::string& face) {
  if (face.empty() || face == face_ || !hwnd_) return;
  face_ = face;
  makeFonts();
  place();
  fitClient();
  last_.clear();  // a bold label carries its own font
}

void FormWindow::title(const std::string& caption) {
  if (hwnd_ && changed(hwnd_, caption)) ::SetWindowTextW(hwnd_, native::wideText(caption).c_str());
}

void FormWindow::label(std::string_view name, const Label& l) {
  HWND w = control(name);
  if (!w) return;
  show(w, l.visible);
  if (!changed(w, l.caption + (l.bold ? "\1b" : "\1n"))) return;
  ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(l.bold ? bold_ : normal_), FALSE);
  ::SetWindowTextW(w, native::wideText(l.caption).c_str());
}

void FormWindow::text(std::string_view name, const std::string& s) {
  HWND w = control(name);
  if (w && changed(w, s)) ::SetWindowTextW(w, windowsText(s).c_str());
}

void FormWindow::group(std::string_view name, const Label& l) {
  HWND w = control(name);
  if (w && changed(w, l.caption)) ::SetWindowTextW(w, captionText(l.caption).c_str());
}

void FormWindow::button(std::string_view name, const Button& b) {
  HWND w = control(name);
  if (!w) return;
  if (changed(w, b.caption)) ::SetWindowTextW(w, captionText(b.caption).c_str());
  if (bool(::IsWindowEnabled(w)) != b.enabled) ::EnableWindow(w, b.enabled);
  show(w, b.visible);
}

void FormWindow::textBox(std::string_view name, const std::string& s, bool followEnd) {
  HWND w = control(name);
  if (!w || !changed(w, s)) return;
  const std::wstring now = windowsText(s);
  std::wstring& before = shown_[w];
  // A progress log changes in its last line: replacing from the first line that differs
  // keeps the other lines and the scroll position, which a new text would reset and repaint
  // for every block written.
  std::size_t same = 0;
  const std::size_t n = std::min(now.size(), before.size());
  while (same < n && now[same] == before[same]) ++same;
  const std::size_t from = same == 0 ? 0 : now.rfind(L'\n', same - 1) + 1;
  if (from == 0 || from > before.size()) {
    ::SetWindowTextW(w, now.c_str());
  } else {
    ::SendMessageW(w, EM_SETSEL, WPARAM(from), LPARAM(-1));
    ::SendMessageW(w, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(now.c_str() + from));
  }
  before = now;
  if (followEnd) {
    ::SendMessageW(w, EM_SETSEL, WPARAM(now.size()), LPARAM(now.size()));
    ::SendMessageW(w, EM_SCROLLCARET, 0, 0);
  } else if (from == 0) {
    ::SendMessageW(w, EM_SETSEL, 0, 0);
    ::SendMessageW(w, EM_SCROLLCARET, 0, 0);
  }
}

void FormWindow::edit(std::string_view name, const std::string& s) {
  HWND w = control(name);
  if (!w) return;
  const std::wstring want = native::wideText(s);
  const int len = ::GetWindowTextLengthW(w);
  std::wstring have(std::size_t(len) + 1, L'\0');
  ::GetWindowTextW(w, have.data(), len + 1);
  have.resize(std::size_t(len));
  if (have == want) return;
  mirroring_ = true;
  ::SetWindowTextW(w, want.c_str());
  mirroring_ = false;
}

void FormWindow::combo(std::string_view name, const ComboBox& c) {
  HWND w = control(name);
  if (!w) return;
  std::string key;
  for (const auto& item : c.items) key += item + '\n';
  if (changed(w, key)) {
    ::SendMessageW(w, CB_RESETCONTENT, 0, 0);
    for (const auto& item : c.items)
      ::SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(native::wideText(item).c_str()));
  }
  const int count = int(c.items.size());
  const int index = c.listIndex >= 0 && c.listIndex < count ? c.listIndex : -1;
  if (int(::SendMessageW(w, CB_GETCURSEL, 0, 0)) != index) ::SendMessageW(w, CB_SETCURSEL, WPARAM(index), 0);
}

void FormWindow::progress(std::string_view name, const ProgressBar& p) {
  HWND w = control(name);
  if (!w) return;
  const int lo = p.min, hi = std::max(p.min, p.max);
  const std::string range = std::to_string(lo) + "," + std::to_string(hi);
  if (changed(w, range)) ::SendMessageW(w, PBM_SETRANGE32, WPARAM(lo), LPARAM(hi));
  const int v = std::clamp(p.value, lo, hi);
  if (int(::SendMessageW(w, PBM_GETPOS, 0, 0)) != v) ::SendMessageW(w, PBM_SETPOS, WPARAM(v), 0);
}

void FormWindow::status(const std::string& panel1, const std::string& panel2) {
  if (!status_) return;
  if (changed(status_, panel1 + '\1' + panel2)) {
    ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(native::wideText(panel1).c_str()));
    ::SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(native::wideText(panel2).c_str()));
  }
}

}  // namespace vq::win32ui
