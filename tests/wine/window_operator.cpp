// The operator of the window's tests: a Win32 console program in the same Wine prefix as
// vq-update.exe that finds its windows and controls by their texts, reads them and clicks,
// as a test on Windows would. It plays a script, one command a line:
//   window TITLE      the visible top-level window whose title starts with TITLE (waited for)
//                     becomes the current window
//   box TEXT          a message box whose text holds TEXT (waited for) becomes the current one
//   dialog            the system's dialog in front (the file dialog) becomes the current one
//   wait TEXT         waits until a control of the current window shows TEXT
//   status TEXT       waits until the status bar's second part holds TEXT
//   enabled CAPTION   waits until the button CAPTION is enabled
//   progress PERCENT  waits until the progress bar is at least that far
//   click CAPTION     clicks the button CAPTION (posted: a click that opens a modal box must not
//                     hold the operator)
//   select N ITEM     chooses ITEM in the current window's N-th list (from 0)
//   type N TEXT       puts TEXT into the current window's N-th one-line text box
//   ok                the current dialog's default button (IDOK)
//   close             the current window's close box
//   gone              waits until the current window has gone
//   shot NAME         says "SHOT NAME" and waits for a line on stdin (the test takes the
//                     screen's picture meanwhile)
//   sim LINE          says "SIM LINE" and waits likewise (the test tells vq-sim)
//   timeout SECONDS   how long each wait may take from now on (60 at first)
// Each command is echoed; the first that fails ends the run with "FAIL: why" and status 1.
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

std::wstring wide(const std::string& s) {
  std::wstring w(s.size() + 1, L'\0');
  w.resize(std::size_t(::MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), int(w.size()))));
  return w;
}

std::string utf8(const std::wstring& w) {
  std::string s(w.size() * 4 + 1, '\0');
  s.resize(std::size_t(::WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), int(s.size()), nullptr, nullptr)));
  return s;
}

std::wstring textOf(HWND w) {
  wchar_t buf[8192];
  // WM_GETTEXT is carried across processes by the system; a hung window times out.
  DWORD_PTR n = 0;
  if (!::SendMessageTimeoutW(w, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &n)) return {};
  return std::wstring(buf, std::size_t(n));
}

std::wstring className(HWND w) {
  wchar_t cls[64];
  return ::GetClassNameW(w, cls, 64) ? cls : L"";
}

// A caption without its mnemonic marks.
std::wstring plain(std::wstring s) {
  std::wstring out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'&' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  return out;
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> out;
  ::EnumChildWindows(
      parent, [](HWND w, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

std::vector<HWND> topLevel() {
  std::vector<HWND> out;
  ::EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        if (::IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

// A part of another process's status bar: SB_GETTEXTW writes into memory of that process.
std::wstring statusPart(HWND bar, int part) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(bar, &pid);
  HANDLE proc = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!proc) return {};
  std::wstring out;
  constexpr SIZE_T kBytes = 4096;
  if (void* remote = ::VirtualAllocEx(proc, nullptr, kBytes, MEM_COMMIT, PAGE_READWRITE)) {
    const DWORD len = LOWORD(::SendMessageW(bar, SB_GETTEXTLENGTHW, WPARAM(part), 0));
    if (len * sizeof(wchar_t) < kBytes) {
      ::SendMessageW(bar, SB_GETTEXTW, WPARAM(part), reinterpret_cast<LPARAM>(remote));
      std::wstring buf(len, L'\0');
      SIZE_T got = 0;
      if (::ReadProcessMemory(proc, remote, buf.data(), len * sizeof(wchar_t), &got)) out = buf;
    }
    ::VirtualFreeEx(proc, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(proc);
  return out;
}

class Operator {
 public:
  bool play(const std::string& line) {
    std::printf("> %s\n", line.c_str());
    std::fflush(stdout);
    const std::size_t sp = line.find(' ');
    const std::string cmd = line.substr(0, sp);
    const std::string rest = sp == std::string::npos ? "" : line.substr(sp + 1);
    const std::wstring arg = wide(rest);
    if (cmd == "timeout") {
      timeoutMs_ = std::stoi(rest) * 1000;
      return true;
    }
    if (cmd == "window") return waitFor("no window " + rest, [&] {
        for (HWND w : topLevel())
          if (textOf(w).rfind(arg, 0) == 0) current_ = w;
        return current_ && textOf(current_).rfind(arg, 0) == 0 && ::IsWindowVisible(current_);
      });
    if (cmd == "box") return waitFor("no message box holding " + rest, [&] {
        for (HWND w : topLevel()) {
          if (className(w) != L"#32770") continue;
          for (HWND c : children(w))
            if (textOf(c).find(arg) != std::wstring::npos) {
              current_ = w;
              return true;
            }
        }
        return false;
      });
    if (cmd == "dialog") return waitFor("no dialog", [&] {
        for (HWND w : topLevel())
          if (className(w) == L"#32770") {
            current_ = w;
            return true;
          }
        return false;
      });
    if (cmd == "shot" || cmd == "sim") {
      std::printf("%s %s\n", cmd == "shot" ? "SHOT" : "SIM", rest.c_str());
      std::fflush(stdout);
      char ack[256];
      if (!std::fgets(ack, sizeof ack, stdin)) return fail("no answer to " + cmd);
      return std::string(ack).rfind("ok", 0) == 0 || fail(cmd + " " + rest + ": " + ack);
    }
    if (!current_) return fail("no current window for " + cmd);
    if (cmd == "ok") {
      ::PostMessageW(current_, WM_COMMAND, IDOK, 0);
      return true;
    }
    if (cmd == "wait") return waitFor("the window never showed " + rest, [&] {
        for (HWND c : children(current_))
          if (textOf(c).find(arg) != std::wstring::npos) return true;
        return false;
      });
    if (cmd == "status") return waitFor("the status bar never said " + rest, [&] {
        HWND bar = find(L"msctls_statusbar32", L"", false);
        last_ = bar ? statusPart(bar, 1) : L"";
        return bar && last_.find(arg) != std::wstring::npos;
      });
    if (cmd == "progress") return waitFor("the bar never reached " + rest + " %", [&] {
        HWND bar = find(L"msctls_progress32", L"", false);
        if (!bar) return false;
        const auto lo = long(::SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
        const auto hi = long(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
        const auto pos = long(::SendMessageW(bar, PBM_GETPOS, 0, 0));
        return hi > lo && (pos - lo) * 100 >= std::stol(rest) * (hi - lo);
      });
    if (cmd == "enabled") return waitFor(rest + " never enabled", [&] {
        HWND b = find(L"Button", arg, true);
        return b && ::IsWindowEnabled(b);
      });
    if (cmd == "click") {
      HWND b = find(L"Button", arg, true);
      if (!b) return fail("no button " + rest);
      ::PostMessageW(b, BM_CLICK, 0, 0);
      return true;
    }
    if (cmd == "select") {
      const std::size_t sp2 = rest.find(' ');
      HWND list = nth(L"ComboBox", std::stoi(rest.substr(0, sp2)));
      const std::wstring item = wide(rest.substr(sp2 + 1));
      if (!list) return fail("no list " + rest);
      const int count = int(::SendMessageW(list, CB_GETCOUNT, 0, 0));
      for (int i = 0; i < count; ++i) {
        // CB_GETLBTEXT is not carried across processes: each item is read through WM_GETTEXT
        // once selected.
        ::SendMessageW(list, CB_SETCURSEL, WPARAM(i), 0);
        if (textOf(list) == item) {
          ::SendMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
          return true;
        }
      }
      return fail("no item " + rest);
    }
    if (cmd == "type") {
      const std::size_t sp2 = rest.find(' ');
      HWND edit = nth(L"Edit", std::stoi(rest.substr(0, sp2)), true);
      if (!edit) return fail("no text box " + rest);
      ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(rest.substr(sp2 + 1)).c_str()));
      return true;
    }
    if (cmd == "close") {
      ::PostMessageW(current_, WM_CLOSE, 0, 0);
      return true;
    }
    if (cmd == "gone") return waitFor("the window stayed", [&] { return !::IsWindow(current_) || !::IsWindowVisible(current_); });
    return fail("unknown command " + cmd);
  }

 private:
  bool fail(const std::string& why) {
    std::printf("FAIL: %s\n", why.c_str());
    if (!last_.empty()) std::printf("last seen: %s\n", utf8(last_).c_str());
    if (current_) {
      std::printf("the window %s shows:\n", utf8(textOf(current_)).c_str());
      for (HWND c : children(current_)) {
        const std::wstring t = textOf(c);
        if (!t.empty()) std::printf("  [%s%s] %s\n", utf8(className(c)).c_str(), ::IsWindowEnabled(c) ? "" : ",off", utf8(t).c_str());
      }
    }
    std::fflush(stdout);
    return false;
  }

  bool waitFor(const std::string& why, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs_);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return fail(why);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }

  HWND find(const wchar_t* cls, const std::wstring& text, bool exact) {
    for (HWND c : children(current_)) {
      if (::lstrcmpiW(className(c).c_str(), cls) != 0 || !::IsWindowVisible(c)) continue;
      if (!exact || plain(textOf(c)) == text) return c;
    }
    return nullptr;
  }

  HWND nth(const wchar_t* cls, int n, bool oneLine = false) {
    for (HWND c : children(current_)) {
      if (::lstrcmpiW(className(c).c_str(), cls) != 0) continue;
      if (oneLine && (::GetWindowLongW(c, GWL_STYLE) & ES_MULTILINE)) continue;
      if (n-- == 0) return c;
    }
    return nullptr;
  }

  HWND current_ = nullptr;
  int timeoutMs_ = 60000;
  std::wstring last_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_operator SCRIPT\n");
    return 2;
  }
  std::ifstream script(argv[1]);
  if (!script) {
    std::fprintf(stderr, "window_operator: cannot read %s\n", argv[1]);
    return 2;
  }
  Operator op;
  for (std::string line; std::getline(script, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (!op.play(line)) return 1;
  }
  std::printf("DONE\n");
  return 0;
}
