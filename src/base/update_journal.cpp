#include "base/update_journal.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>

#include "base/sha256.h"
#include "base/texts.h"
#include "base/version_text.h"

namespace vq {

namespace {

constexpr const char* kHeader = "vq-update journal 1";
constexpr const char* kCheckKey = "check=";

std::string hexByte(std::uint8_t b) {
  char buf[3];
  std::snprintf(buf, sizeof buf, "%02x", b);
  return buf;
}

std::optional<std::uint8_t> byteOf(const std::string& s) {
  if (s.size() != 2) return std::nullopt;
  unsigned v = 0;
  for (char c : s) {
    v <<= 4;
    if (c >= '0' && c <= '9') v |= unsigned(c - '0');
    else if (c >= 'a' && c <= 'f') v |= unsigned(c - 'a' + 10);
    else return std::nullopt;
  }
  return std::uint8_t(v);
}

std::string checkOf(const std::string& body) { return sha256Hex(Bytes(body.begin(), body.end())); }

constexpr int kOldAfterDays = 30;
constexpr Text kOld{"（30日以上前の記録）", " (older than 30 days)"};

std::string deviceOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long daysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = unsigned(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + long(doe) - 719468;
}

// The day of an ISO 8601 time ("2026-12-09T00:10:00Z"); nothing when it is not one.
std::optional<long> dayOf(const std::string& iso) {
  unsigned y = 0, m = 0, d = 0;
  char tail = 0;
  if (std::sscanf(iso.c_str(), "%4u-%2u-%2u%c", &y, &m, &d, &tail) != 4 || tail != 'T' || m < 1 || m > 12 ||
      d < 1 || d > 31)
    return std::nullopt;
  return daysFromCivil(long(y), m, d);
}

}  // namespace

std::string fncJournalText(const JournalEntry& e) {
  std::ostringstream o;
  // Values are written as they are: a line end inside one would end it, so none is kept.
  auto line = [&](const char* key, std::string v) {
    v.erase(std::remove_if(v.begin(), v.end(), [](char c) { return c == '\n' || c == '\r'; }), v.end());
    o << key << "=" << v << "\n";
  };
  o << kHeader << "\n";
  line("model", e.model);
  line("serial", e.serial);
  line("cmd04", hexByte(e.cmd04));
  line("cmd06", hexByte(e.cmd06));
  line("firmware", hexByte(e.fwMain) + hexByte(e.fwRev));
  line("port", e.port);
  line("file", e.fileName);
  line("file_sha256", e.fileSha256);
  line("time", e.time);
  const std::string body = o.str();
  return body + kCheckKey + checkOf(body) + "\n";
}

std::optional<JournalEntry> fncParseJournal(const std::string& text, std::string& why) {
  if (text.rfind(std::string(kHeader) + "\n", 0) != 0) {
    why = "not a journal of this tool";
    return std::nullopt;
  }
  const std::size_t check = text.rfind(std::string("\n") + kCheckKey);
  if (check == std::string::npos || text.empty() || text.back() != '\n') {
    why = "damaged: incomplete";
    return std::nullopt;
  }
  const std::string body = text.substr(0, check + 1);
  const std::string sum = text.substr(check + 1 + std::char_traits<char>::length(kCheckKey));
  if (sum != checkOf(body) + "\n") {
    why = "damaged: its check does not match";
    return std::nullopt;
  }
  std::map<std::string, std::string> v;
  std::istringstream in(body);
  std::string l;
  std::getline(in, l);  // the header
  while (std::getline(in, l)) {
    const std::size_t eq = l.find('=');
    if (eq != std::string::npos) v[l.substr(0, eq)] = l.substr(eq + 1);
  }
  JournalEntry e;
  e.model = v["model"];
  e.serial = v["serial"];
  const auto c4 = byteOf(v["cmd04"]), c6 = byteOf(v["cmd06"]);
  const std::string fw = v["firmware"];
  const auto fwMain = fw.size() == 4 ? byteOf(fw.substr(0, 2)) : std::nullopt;
  const auto fwRev = fw.size() == 4 ? byteOf(fw.substr(2)) : std::nullopt;
  if (e.model.empty() || e.serial.empty() || !c4 || !c6 || !fwMain || !fwRev) {
    why = "damaged: a value is missing or malformed";
    return std::nullopt;
  }
  e.cmd04 = *c4;
  e.cmd06 = *c6;
  e.fwMain = *fwMain;
  e.fwRev = *fwRev;
  e.port = v["port"];
  e.fileName = v["file"];
  e.fileSha256 = v["file_sha256"];
  e.time = v["time"];
  return e;
}

std::vector<JournalEntry> fncOrderForPort(std::vector<JournalEntry> entries, const std::string& device) {
  auto onDevice = [&](const JournalEntry& e) { return !device.empty() && deviceOf(e.port) == device; };
  // ISO 8601 UTC times order as text.
  std::stable_sort(entries.begin(), entries.end(), [&](const JournalEntry& a, const JournalEntry& b) {
    if (onDevice(a) != onDevice(b)) return onDevice(a);
    return a.time > b.time;
  });
  return entries;
}

std::vector<JournalEntry> fncEntriesForDevice(const std::vector<JournalEntry>& entries, const std::string& device) {
  std::vector<JournalEntry> found;
  if (device.empty()) return found;
  for (const JournalEntry& e : fncOrderForPort(entries, device))
    if (deviceOf(e.port) == device) found.push_back(e);
  return found;
}

std::string fncJournalListLine(const JournalEntry& e, std::chrono::system_clock::time_point now) {
  const long today = long(std::chrono::duration_cast<std::chrono::hours>(now.time_since_epoch()).count() / 24);
  const std::optional<long> saved = dayOf(e.time);
  return fncJournalSummary(e) + (saved && today - *saved > kOldAfterDays ? pick(kOld) : "");
}

std::string fncTypedSerial(const std::string& serial) {
  return serial.size() > 1 && serial.front() == ' ' ? serial.substr(1) : serial;
}

std::string fncJournalSummary(const JournalEntry& e) {
  return e.model + " " + e.serial + ", " + fncVersionText(e.fwMain, e.fwRev) + ", " + e.time + ", " + e.port + ", " +
         e.fileName;
}

}  // namespace vq
