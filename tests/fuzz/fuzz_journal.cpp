// The journal file's text (fncParseJournal). A random text almost never carries its own
// check, so byte 0 bit 0 seals the rest: the header before it and the right check line after
// it, so the values themselves are reached.
// Holds whatever the bytes: a refused text gives a reason; an entry that parses is written
// back (fncJournalText) to a text that parses to the same entry and is written the same
// again; the summaries of it are made without fault.
#include <chrono>
#include <string>

#include "base/sha256.h"
#include "base/update_journal.h"
#include "fuzz/fuzz_support.h"

using namespace vq;

namespace {

bool same(const JournalEntry& a, const JournalEntry& b) {
  return a.model == b.model && a.serial == b.serial && a.cmd04 == b.cmd04 && a.cmd06 == b.cmd06 &&
         a.fwMain == b.fwMain && a.fwRev == b.fwRev && a.port == b.port && a.fileName == b.fileName &&
         a.fileSha256 == b.fileSha256 && a.time == b.time;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    std::string body = "vq-update journal 1\n" + text;
    if (body.back() != '\n') body += '\n';
    text = body + "check=" + sha256Hex(Bytes(body.begin(), body.end())) + "\n";
  }
  std::string why;
  const auto e = fncParseJournal(text, why);
  if (!e) {
    VQ_FUZZ_CHECK(!why.empty());
    return 0;
  }
  const std::string again = fncJournalText(*e);
  std::string why2;
  const auto e2 = fncParseJournal(again, why2);
  VQ_FUZZ_CHECK(e2.has_value());
  VQ_FUZZ_CHECK(same(*e, *e2));
  VQ_FUZZ_CHECK(fncJournalText(*e2) == again);
  (void)fncJournalSummary(*e);
  (void)fncJournalListLine(*e, std::chrono::system_clock::time_point(std::chrono::hours(24 * 20800)));
  (void)fncTypedSerial(e->serial);
  const auto ordered = fncOrderForPort({*e, *e2}, "ttyUSB0");
  VQ_FUZZ_CHECK(ordered.size() == 2);
  return 0;
}
