#include "platform/qt/update_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QSysInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/firmware_file.h"

namespace vq::qt {

namespace {
constexpr mode_t kLogMode = 0600;  // the log names instruments and hosts: the user's alone
constexpr const char* kLogDir = "vq-update";
constexpr const char* kLogName = "updates.jsonl";
}  // namespace

std::string updateLogPath() {
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
  return (base / kLogDir / kLogName).string();
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
    : path(updateLogPath()), map_(map), program_(std::move(program)) {
  clock_.start();
}

UpdateRecord UpdateLog::complete(UpdateRecord r) const {
  r.time = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
  const QString device = map_.pathFor(r.comPort);
  if (!device.isEmpty()) r.port = device.toStdString();
  if (!gFileData.empty()) {
    const QByteArray bytes(reinterpret_cast<const char*>(gFileData.data()), qsizetype(gFileData.size()));
    r.fileSha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
  }
  r.program = program_;
  r.host = QSysInfo::machineHostName().toStdString();
  return r;
}

void UpdateLog::write(UpdateRecord record) {
  last = complete(std::move(record));
  std::string why;
  if (!appendPrivateLine(path, fncUpdateRecordJson(*last, true), why) && onError) onError(why);
}

}  // namespace vq::qt
