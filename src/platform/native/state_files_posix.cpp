#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/native/state_files.h"

namespace vq::native {

namespace {

namespace fs = std::filesystem;

// The log and the journal name instruments and hosts: the user's alone.
constexpr mode_t kPrivateMode = 0600;
constexpr const char* kStateDir = "vq-update";

bool syncFolder(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

std::string folderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

}  // namespace

std::string stateDir() {
  // The XDG rule: a relative XDG_STATE_HOME is invalid and ignored.
  const char* state = std::getenv("XDG_STATE_HOME");
  fs::path base;
  if (state && *state && fs::path(state).is_absolute()) {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !*home) return {};
    base = fs::path(home) / ".local" / "state";
  }
  return (base / kStateDir).string();
}

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  char stamp[32] = "";
  if (::gmtime_r(&now, &utc)) std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return stamp;
}

bool appendPrivateLine(const std::string& path, const std::string& line, std::string& error) {
  if (path.empty()) {
    error = "no place for the update log: neither XDG_STATE_HOME nor HOME is set";
    return false;
  }
  std::error_code ec;
  const std::string dir = folderOf(path);
  fs::create_directories(dir, ec);
  if (ec) {
    error = dir + ": " + ec.message();
    return false;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kPrivateMode);
  if (fd < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  // Whatever the umask allowed: 600, also for a log an older run left wider open.
  ::fchmod(fd, kPrivateMode);
  // One write of the whole line: lines of programs running side by side do not interleave.
  const std::string text = line + "\n";
  const ssize_t n = ::write(fd, text.data(), text.size());
  const int writeErr = errno;
  const bool closed = ::close(fd) == 0;
  if (n != ssize_t(text.size()) || !closed) {
    error = path + ": " + std::strerror(n < 0 ? writeErr : EIO);
    return false;
  }
  return true;
}

std::string hostName() {
  char host[256] = "";
  return ::gethostname(host, sizeof host - 1) == 0 ? host : "";
}

bool writeFileDurably(const std::string& path, const std::string& text, std::string& why) {
  const std::string tmp = path + ".tmp";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, kPrivateMode);
  if (fd < 0) {
    why = tmp + ": " + std::strerror(errno);
    return false;
  }
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += std::size_t(n);
  }
  const int writeErr = errno;
  const bool synced = done == text.size() && ::fsync(fd) == 0;
  const int syncErr = errno;
  const bool closed = ::close(fd) == 0;
  if (!synced || !closed) {
    why = tmp + ": " + std::strerror(done < text.size() ? writeErr : syncErr);
    ::unlink(tmp.c_str());
    return false;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    why = path + ": " + std::strerror(errno);
    ::unlink(tmp.c_str());
    return false;
  }
  if (const std::string dir = folderOf(path); !syncFolder(dir)) {
    why = dir + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

bool removeFileDurably(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return false;
  syncFolder(folderOf(path));
  return true;
}

}  // namespace vq::native
