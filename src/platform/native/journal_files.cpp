#include "platform/native/journal_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/firmware_file.h"
#include "base/sha256.h"
#include "platform/native/update_log.h"

namespace vq::native {

namespace {

namespace fs = std::filesystem;

constexpr mode_t kJournalMode = 0600;  // it names instruments: the user's alone
constexpr const char* kSuffix = ".journal";

// A name part the file system takes anywhere: letters, digits and '-' kept, the rest '_'.
std::string safePart(const std::string& s) {
  std::string out;
  for (char c : s) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    if (keep) out += c;
    else if (c != ' ') out += '_';
  }
  return out.empty() ? "_" : out;
}

bool syncFolder(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// Writes the whole text to path through a temporary file, each step on the disk before the next.
bool writeDurably(const std::string& path, const std::string& text, std::string& why) {
  const std::string tmp = path + ".tmp";
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, kJournalMode);
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
  if (!syncFolder(fs::path(path).parent_path().string())) {
    why = fs::path(path).parent_path().string() + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

JournalFiles::JournalFiles(const ComPortMap& map, std::string dir) : map_(map), dir_(std::move(dir)) {
  if (dir_.empty()) {
    const std::string state = stateDir();
    if (!state.empty()) dir_ = state + "/unfinished";
  }
}

std::string JournalFiles::pathFor(const std::string& model, const std::string& serial) const {
  return dir_ + "/" + safePart(model) + "_" + safePart(serial) + kSuffix;
}

bool JournalFiles::save(const JournalEntry& entry, std::string& why) {
  if (dir_.empty()) {
    why = "no place for the journal: neither XDG_STATE_HOME nor HOME is set";
    return false;
  }
  JournalEntry e = entry;
  if (const std::string device = map_.pathFor(e.comPort); !device.empty()) e.port = device;
  e.time = utcNow();
  if (!gFileData.empty()) e.fileSha256 = sha256Hex(gFileData);
  std::error_code ec;
  fs::create_directories(dir_, ec);
  if (ec) {
    why = dir_ + ": " + ec.message();
    return false;
  }
  return writeDurably(pathFor(e.model, e.serial), fncJournalText(e), why);
}

void JournalFiles::finish(const std::string& model, const std::string& serial) {
  if (dir_.empty()) return;
  if (::unlink(pathFor(model, serial).c_str()) == 0) syncFolder(dir_);
}

std::vector<JournalEntry> JournalFiles::unfinished(std::vector<JournalProblem>& problems) {
  std::vector<JournalEntry> out;
  if (dir_.empty()) return out;
  std::error_code ec;
  for (const auto& f : fs::directory_iterator(dir_, ec)) {
    if (f.path().extension() != kSuffix) continue;  // a temporary file a crash left is no entry
    std::ifstream in(f.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string why;
    if (auto e = fncParseJournal(text.str(), why)) out.push_back(std::move(*e));
    else problems.push_back({f.path().string(), why});
  }
  std::sort(out.begin(), out.end(), [](const JournalEntry& a, const JournalEntry& b) { return a.time > b.time; });
  return out;
}

}  // namespace vq::native
