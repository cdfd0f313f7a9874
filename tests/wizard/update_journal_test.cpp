// The journal of an update in progress, in virtual time: saved before step 5, ended by step 7,
// offered back to a later run, whose step 7 writes the saved setting; and its text on disk.
#include "app/update_journal_steps.h"
#include "base/firmware_file.h"
#include "base/param_store.h"
#include "base/update_journal.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

class MemoryStore : public UpdateJournalStore {
 public:
  bool save(const JournalEntry& e, std::string& why) override {
    ++saves;
    if (refuse) {
      why = "disk full";
      return false;
    }
    stepAtSave = gStep + 1;
    portOpenAtSave = mscComm().portOpen();
    entries.erase(std::remove_if(entries.begin(), entries.end(), [&](auto& x) { return x.serial == e.serial; }), entries.end());
    entries.push_back(e);
    return true;
  }
  void finish(const std::string&, const std::string& serial) override {
    ++finishes;
    entries.erase(std::remove_if(entries.begin(), entries.end(), [&](auto& x) { return x.serial == serial; }), entries.end());
  }
  std::vector<JournalEntry> unfinished(std::vector<JournalProblem>&) override { return entries; }

  std::vector<JournalEntry> entries;
  bool refuse = false;
  int saves = 0, finishes = 0, stepAtSave = 0;
  bool portOpenAtSave = true;
};

struct Case {
  const char* name;
  // n: Next; x: the cable pulled; p: plugged back; r: a new run of the program (the instrument
  // then has lost its identity, as after a step 5 cut short); y / d: the offer at start
  // accepted / declined; f: the forced update; w: the store refuses to write.
  const char* script;
  int saves, finishes;
  std::size_t unfinished;
  const char* model;  // what the instrument ends with
  std::uint8_t cmd04;
  bool saidUnwritten;
};

const Case kCases[] = {
    {"whole update: saved before step 5, ended by step 7", "nnnnnnn", 1, 1, 0, "VQA-7001", 5, false},
    {"step 5 cut short: the entry stays", "nnnxn", 1, 0, 1, "VQA-7001", 5, false},
    {"a new run resumes: step 7 writes the saved identity and setting", "nnnxnpryn nnnn", 2, 1, 0, "VQA-7001", 5, false},
    {"the offer declined: nothing carried, the entry stays", "nnnxnprd", 1, 0, 1, "", 0, false},
    {"forced update as before: the setting written as 0", "fnnnnn", 1, 1, 0, "VQA-7000", 0, false},
    {"a journal that cannot be written: said, and the update goes on", "wnnnnnnn", 1, 1, 0, "VQA-7001", 5, true},
};

using UpdateJournalTest = WizardTest;

TEST_F(UpdateJournalTest, SavedBeforeStepFiveOfferedBackAndWrittenByStepSeven) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    MemoryStore store;
    installJournalStore(&store);
    load();
    bool saidUnwritten = false;
    auto prepare = [&] {
      gFileValid = true;
      p->onForceUpdateDialog = [] {
        gModelName = "VQA-7000";
        gSerialNo = " 24680";
        gForceUpdate = true;
      };
    };
    prepare();
    for (const char* s = c.script; *s; ++s) {
      switch (*s) {
        case 'n': cmdNext_Click(); break;
        case 'x': p->port.existingPorts = {}; break;
        case 'p': p->port.existingPorts = {1}; break;
        case 'f': cmdForceUpdate_Click(); break;
        case 'w': store.refuse = true; break;
        case 'r': {
          auto keep = std::move(instrument);
          keep->model = "";
          keep->serial = "";
          keep->cmd04 = 0;
          load();
          instrument = std::move(keep);
          both = std::make_unique<InstrumentAndController>(*instrument, *bootController);
          p->port.attach(both.get());
          prepare();
          break;
        }
        case 'y': p->yesNoAnswers = {true}; subOfferResume(); break;
        case 'd': p->yesNoAnswers = {false}; subOfferResume(); break;
        default: break;
      }
      if (frmMain.txtProcess.text.find("could not be saved") != std::string::npos) saidUnwritten = true;
    }
    installJournalStore(nullptr);
    EXPECT_EQ(store.saves, c.saves);
    EXPECT_EQ(store.finishes, c.finishes);
    EXPECT_EQ(store.entries.size(), c.unfinished);
    if (store.saves > 0 && !store.refuse) {
      EXPECT_EQ(store.stepAtSave, 5);
      EXPECT_FALSE(store.portOpenAtSave) << "saved after step 5 opened the port";
    }
    EXPECT_EQ(instrument->model, c.model);
    EXPECT_EQ(instrument->cmd04, c.cmd04);
    EXPECT_EQ(saidUnwritten, c.saidUnwritten);
    if (std::string(c.script).find('y') != std::string::npos) {
      ASSERT_EQ(p->questions.size(), 1u);
      EXPECT_NE(p->questions[0].find("VQA-7001  54321, Ver.1.2.3"), std::string::npos) << p->questions[0];
    }
  }
}

TEST(UpdateJournalText, ReadsBackOnlyWhatItWrote) {
  JournalEntry e;
  e.model = "VQA-7001";
  e.serial = " 13579";
  e.cmd04 = 9;
  e.cmd06 = 0xA1;
  e.fwMain = 10;
  e.fwRev = 3;
  e.port = "/dev/ttyUSB0";
  e.fileName = "VQ_1.2.0.bin";
  e.fileSha256 = "ab12";
  e.time = "2026-12-09T00:10:00Z";
  const std::string good = fncJournalText(e);
  struct Row {
    const char* name;
    std::string text;
    const char* why;  // nullptr: read back whole
  } const rows[] = {
      {"as written", good, nullptr},
      {"another file", "serial=12345\n", "not a journal of this tool"},
      {"empty", "", "not a journal of this tool"},
      {"torn: the check missing", good.substr(0, good.find("check=")), "damaged: incomplete"},
      {"torn inside the check", good.substr(0, good.size() - 5), "damaged: incomplete"},
      {"a value edited", [&] { std::string t = good; t[t.find("cmd04=09") + 7] = '8'; return t; }(),
       "damaged: its check does not match"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::string why;
    const auto back = fncParseJournal(r.text, why);
    if (!r.why) {
      ASSERT_TRUE(back) << why;
      EXPECT_EQ(fncJournalText(*back), good);
    } else {
      EXPECT_FALSE(back);
      EXPECT_EQ(why, r.why);
    }
  }
  // The newest for the chosen device first, then the others newest first.
  JournalEntry a = e, b = e, c = e;
  a.port = "/dev/ttyUSB1", a.time = "2026-12-09T03:00:00Z";
  b.port = "/dev/ttyUSB0", b.time = "2026-12-08T01:00:00Z";
  c.port = "/dev/ttyUSB2", c.time = "2026-12-09T01:00:00Z";
  const auto ordered = fncOrderForPort({c, b, a}, "ttyUSB0");
  EXPECT_EQ(ordered[0].port, "/dev/ttyUSB0");
  EXPECT_EQ(ordered[1].port, "/dev/ttyUSB1");
  EXPECT_EQ(ordered[2].port, "/dev/ttyUSB2");
}

}  // namespace
}  // namespace vq::test
