// The journal of an update in progress: the instrument's identity and settings, saved on disk
// before step 5 erases the firmware that holds them, so a later run can carry them into the
// instrument even after a crash, a power cut or a quit. The front end installs the store; the
// wizard saves an entry before step 5 and ends it when step 7 succeeds.
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vq {

struct JournalEntry {
  std::string model;       // 8 characters, as the instrument reported it
  std::string serial;      // 6 characters, " 12345"
  std::uint8_t cmd04 = 0;  // the setting step 7 writes back
  std::uint8_t cmd06 = 0;
  std::uint8_t fwMain = 0;  // the firmware version read in step 2 (or 0.0.0 after a forced start)
  std::uint8_t fwRev = 0;
  std::string port;        // the device path
  std::string fileName;
  std::string fileSha256;
  std::string time;        // UTC, ISO 8601
  int comPort = 0;         // the COM number it was saved from (not kept: the path is)
};

// The text of an entry: key=value lines under a header, closed by a SHA-256 of the lines, so a
// torn or edited file is told from a sound one.
std::string fncJournalText(const JournalEntry& e);
// The entry of a journal text; nothing, with the reason, when it is not a journal of ours or
// is damaged.
std::optional<JournalEntry> fncParseJournal(const std::string& text, std::string& why);

// A journal file the store found and could not trust.
struct JournalProblem {
  std::string path;
  std::string why;
};

class UpdateJournalStore {
 public:
  virtual ~UpdateJournalStore() = default;
  // Saves the entry durably (on disk when this returns true); false with the reason.
  virtual bool save(const JournalEntry& e, std::string& why) = 0;
  // The instrument's update completed: its entry is no longer unfinished.
  virtual void finish(const std::string& model, const std::string& serial) = 0;
  // Every unfinished entry, newest first; the files it could not trust in problems.
  virtual std::vector<JournalEntry> unfinished(std::vector<JournalProblem>& problems) = 0;
};

// The newest entry for the device ("ttyUSB0", the file name of its path) first, then the
// others newest first.
std::vector<JournalEntry> fncOrderForPort(std::vector<JournalEntry> entries, const std::string& device);
// The entries saved from the device ("ttyUSB0"), newest first.
std::vector<JournalEntry> fncEntriesForDevice(const std::vector<JournalEntry>& entries, const std::string& device);
// One line naming the instrument, when and with which file, for lists and the offer.
std::string fncJournalSummary(const JournalEntry& e);
// The summary for a listing: an entry saved more than 30 days before now is marked, so an
// instrument long gone is not taken for the one on the bench.
std::string fncJournalListLine(const JournalEntry& e,
                               std::chrono::system_clock::time_point now = std::chrono::system_clock::now());
// The serial number as the operator types it ("12345" for " 12345").
std::string fncTypedSerial(const std::string& serial);

}  // namespace vq
