#include "platform/native/journal_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/firmware_file.h"
#include "base/sha256.h"
#include "base/utf8_path.h"
#include "platform/native/state_files.h"

namespace vq::native {

namespace {

namespace fs = std::filesystem;

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
  fs::create_directories(pathOf(dir_), ec);
  if (ec) {
    why = dir_ + ": " + ec.message();
    return false;
  }
  return writeFileDurably(pathFor(e.model, e.serial), fncJournalText(e), why);
}

void JournalFiles::finish(const std::string& model, const std::string& serial) {
  if (dir_.empty()) return;
  removeFileDurably(pathFor(model, serial));
}

std::vector<JournalEntry> JournalFiles::unfinished(std::vector<JournalProblem>& problems) {
  std::vector<JournalEntry> out;
  if (dir_.empty()) return out;
  std::error_code ec;
  for (const auto& f : fs::directory_iterator(pathOf(dir_), ec)) {
    if (f.path().extension() != kSuffix) continue;  // a temporary file a crash left is no entry
    std::ifstream in(f.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string why;
    if (auto e = fncParseJournal(text.str(), why)) out.push_back(std::move(*e));
    else problems.push_back({utf8Of(f.path()), why});
  }
  std::sort(out.begin(), out.end(), [](const JournalEntry& a, const JournalEntry& b) { return a.time > b.time; });
  return out;
}

}  // namespace vq::native
