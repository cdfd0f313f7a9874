#include "platform/native/update_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <ctime>

#include "base/firmware_file.h"
#include "base/sha256.h"

namespace vq::native {

namespace {
constexpr mode_t kLogMode = 0600;  // the log names instruments and hosts: the user's alone
constexpr const char* kLogDir = "vq-update";
constexpr const char* kLogName = "updates.jsonl";
}  // namespace

std::string stateDir() {
  namespace fs = std::filesystem;
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
  return (base / kLogDir).string();
}

std::string updateLogPath() {
  const std::string dir = stateDir();
  return dir.empty() ? dir : dir + "/" + kLogName;
}

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  char stamp[32] = "";
  if (::gmtime_r(&now, &utc)) std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return stamp;
}

bool appendPrivateLine(const std::string& path, const std::string& line, std::string& error) {
  namespace fs = std::filesystem;
  if (path.empty()) {
    error = "no place for the update log: neither XDG_STATE_HOME nor HOME is set";
    return false;
  }
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  if (ec) {
    error = fs::path(path).parent_path().string() + ": " + ec.message();
    return false;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, kLogMode);
  if (fd < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  // Whatever the umask allowed: 600, also for a log an older run left wider open.
  ::fchmod(fd, kLogMode);
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

UpdateLog::UpdateLog(const ComPortMap& map, std::string program)
    : path(updateLogPath()), map_(map), program_(std::move(program)) {}

UpdateRecord UpdateLog::complete(UpdateRecord r) const {
  r.time = utcNow();
  const std::string device = map_.pathFor(r.comPort);
  if (!device.empty()) r.port = device;
  if (!gFileData.empty()) r.fileSha256 = sha256Hex(gFileData);
  r.program = program_;
  char host[256] = "";
  if (::gethostname(host, sizeof host - 1) == 0) r.host = host;
  return r;
}

void UpdateLog::write(UpdateRecord record) {
  last = complete(std::move(record));
  std::string why;
  if (!appendPrivateLine(path, fncUpdateRecordJson(*last, true), why) && onError) onError(why);
}

}  // namespace vq::native
