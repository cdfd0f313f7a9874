// The state folder under %LOCALAPPDATA%, which Windows keeps to its user (no mode to set); a
// file made durable by FlushFileBuffers and a write-through rename, NTFS journalling the rest.
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/native/state_files.h"
#include "platform/native/windows_text.h"

namespace vq::native {

namespace {
constexpr const char* kStateDir = "vq-update";

std::string envValue(const wchar_t* name) {
  const wchar_t* v = ::_wgetenv(name);
  return v && *v ? utf8Text(v) : std::string();
}

bool makeParent(const std::string& path, std::string& why) {
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::path(wideText(path)).parent_path();
  std::filesystem::create_directories(dir, ec);
  if (ec) why = utf8Text(dir.wstring()) + ": " + ec.message();
  return !ec;
}

bool writeAll(HANDLE h, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    DWORD n = 0;
    if (!::WriteFile(h, text.data() + done, DWORD(text.size() - done), &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}
}  // namespace

std::string stateDir() {
  std::string base = envValue(L"LOCALAPPDATA");
  if (base.empty()) {
    const std::string profile = envValue(L"USERPROFILE");
    if (profile.empty()) return {};
    base = profile + "\\AppData\\Local";
  }
  return base + "\\" + kStateDir;
}

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  char stamp[32] = "";
  // The C library's gmtime keeps its result per thread here.
  if (const std::tm* utc = std::gmtime(&now)) std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", utc);
  return stamp;
}

std::string hostName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  return ::GetComputerNameW(name, &size) ? utf8Text(std::wstring(name, size)) : std::string();
}

bool appendPrivateLine(const std::string& path, const std::string& line, std::string& error) {
  if (path.empty()) {
    error = "no place for the update log: neither LOCALAPPDATA nor USERPROFILE is set";
    return false;
  }
  if (!makeParent(path, error)) return false;
  // Appending access: each write lands at the end, whole, as O_APPEND does.
  const HANDLE h = ::CreateFileW(wideText(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = path + ": " + systemErrorText(::GetLastError());
    return false;
  }
  const bool written = writeAll(h, line + "\n");
  const DWORD e = ::GetLastError();
  ::CloseHandle(h);
  if (!written) error = path + ": " + systemErrorText(e);
  return written;
}

bool writeFileDurably(const std::string& path, const std::string& text, std::string& why) {
  const std::string tmp = path + ".tmp";
  const HANDLE h = ::CreateFileW(wideText(tmp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    why = tmp + ": " + systemErrorText(::GetLastError());
    return false;
  }
  const bool synced = writeAll(h, text) && ::FlushFileBuffers(h);
  const DWORD e = ::GetLastError();
  ::CloseHandle(h);
  if (!synced) {
    why = tmp + ": " + systemErrorText(e);
    ::DeleteFileW(wideText(tmp).c_str());
    return false;
  }
  if (!::MoveFileExW(wideText(tmp).c_str(), wideText(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    why = path + ": " + systemErrorText(::GetLastError());
    ::DeleteFileW(wideText(tmp).c_str());
    return false;
  }
  return true;
}

bool removeFileDurably(const std::string& path) { return ::DeleteFileW(wideText(path).c_str()) != 0; }

}  // namespace vq::native
