// The journal of an update in progress, in virtual time: saved before step 5, ended by step 7,
// offered back to a later run, whose step 7 writes the saved setting; and its text on disk.
#include "app/frm_force_update.h"
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
  // n: Next; x: the cable pulled; p: plugged back; w: the store refuses to write.
  // A: a new run with instrument A back without firmware (its identity lost, no reply in
  // step 2); B: a new run with another instrument B that answers; y: every question from now
  // on answered Yes. F: the forced-update dialog set as it opens; S: set with another serial
  // typed; T: set by hand (VQA-7000 24680); D: its saved update forgotten, then cancelled.
  const char* script;
  int saves, finishes;
  std::size_t unfinished;
  const char* model;  // what the instrument ends with
  const char* serial;
  std::uint8_t cmd04;
  int offers;         // step-2 failures that offered a saved update
  bool listedAtStart, saidUnwritten;
};

const Case kCases[] = {
    {"whole update: saved before step 5, ended by step 7", "nnnnnnn", 1, 1, 0, "VQA-7001", " 54321", 5, 0, false, false},
    {"step 5 cut short: the entry stays", "nnnxn", 1, 0, 1, "VQA-7001", " 54321", 5, 0, false, false},
    {"A back without firmware: step 2 fails, the dialog carries A's identity and setting", "nnnxnpAnFnnnn", 2, 1, 0,
     "VQA-7001", " 54321", 5, 1, true, false},
    {"another serial typed over the saved one: the saved setting stays out", "nnnxnpAnSnnnn", 2, 1, 1, "VQA-7001",
     " 99999", 0, 1, true, false},
    {"B attached after A was cut short, every question Yes: B keeps its own identity", "nnnxnpBynnnnnnn", 2, 1, 1,
     "VQA-7000", " 11111", 9, 0, true, false},
    {"a forgotten entry is never offered again", "nnnxnpAnDn", 1, 1, 0, "", "", 0, 1, true, false},
    {"forced update by hand as before: the setting written as 0", "Tnnnnn", 1, 1, 0, "VQA-7000", " 24680", 0, 0, false,
     false},
    {"a journal that cannot be written: said, and the update goes on", "wnnnnnnn", 1, 1, 0, "VQA-7001", " 54321", 5, 0,
     false, true},
};

using UpdateJournalTest = WizardTest;

TEST_F(UpdateJournalTest, SavedBeforeStepFiveAndOfferedOnlyWhereTheInstrumentCannotSayWhoItIs) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    MemoryStore store;
    installJournalStore(&store);
    load();
    bool saidUnwritten = false, listed = false;
    int offers = 0;
    auto prepare = [&] {
      gFileValid = true;
      p->deviceNames = {{1, "COM1"}};
    };
    auto forced = [&](const char* serial, bool forget) {
      p->onForceUpdateDialog = [serial, forget] {
        if (forget) {
          frmForceUpdate_cmdForget_Click();
          frmForceUpdate_cmdCancel_Click();
          return;
        }
        if (serial) frmForceUpdate.txtSerial.text = serial;
        if (std::string(serial ? serial : "") == "24680") frmForceUpdate.cboModel.listIndex = 1;
        frmForceUpdate_cmdSet_Click();
      };
      cmdForceUpdate_Click();
    };
    auto newRun = [&](bool instrumentA) {
      auto next = std::make_unique<FakeInstrument>();
      if (instrumentA) {
        next->model = next->serial = "";
        next->cmd04 = 0;
        // No firmware to answer step 2 with; step 5 brings it back.
        next->script = [](const InstrumentFrame&, int) -> std::optional<Pieces> {
          if (gStep == 1) return Pieces{};
          return std::nullopt;
        };
      } else {
        next->model = "VQA-7000";
        next->serial = " 11111";
        next->cmd04 = 9;
      }
      load();
      instrument = std::move(next);
      both = std::make_unique<InstrumentAndController>(*instrument, *bootController);
      p->port.attach(both.get());
      prepare();
      subListUnfinished();
      listed = frmMain.txtProcess.text.find("left half-updated") != std::string::npos;
    };
    prepare();
    for (const char* s = c.script; *s; ++s) {
      switch (*s) {
        case 'n': cmdNext_Click(); break;
        case 'x': p->port.existingPorts = {}; break;
        case 'p': p->port.existingPorts = {1}; break;
        case 'w': store.refuse = true; break;
        case 'A': newRun(true); break;
        case 'B': newRun(false); break;
        case 'y': p->yesNoAnswers.assign(8, true); break;
        case 'F': forced(nullptr, false); break;
        case 'S': forced("99999", false); break;
        case 'T': forced("24680", false); break;
        case 'D': p->yesNoAnswers = {true}; forced(nullptr, true); break;
        default: break;
      }
      if (*s == 'n' && gStep == 0 && frmMain.txtProcess.text.find("was cut short") != std::string::npos) ++offers;
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
    EXPECT_EQ(instrument->serial, c.serial);
    EXPECT_EQ(instrument->cmd04, c.cmd04);
    EXPECT_EQ(offers, c.offers);
    EXPECT_EQ(listed, c.listedAtStart);
    EXPECT_EQ(saidUnwritten, c.saidUnwritten);
    if (std::string(c.script).find('D') != std::string::npos) {
      ASSERT_EQ(p->questions.size(), 1u);
      EXPECT_NE(p->questions[0].find("VQA-7001  54321, Ver.1.2.3"), std::string::npos) << p->questions[0];
    } else {
      EXPECT_TRUE(p->questions.empty()) << p->questions[0];
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
  EXPECT_EQ(fncEntriesForDevice({c, b, a}, "ttyUSB0").size(), 1u);
  EXPECT_TRUE(fncEntriesForDevice({c, b, a}, "").empty());

  // Listings mark an entry saved more than 30 days before now; a time it cannot read, never.
  const auto now = std::chrono::sys_days{std::chrono::year{2026} / 12 / 9} + std::chrono::hours{10};
  const struct {
    const char* time;
    bool old;
  } ages[] = {{"2026-12-09T00:10:00Z", false}, {"2026-11-09T09:00:00Z", false}, {"2026-11-08T23:00:00Z", true},
              {"2025-12-31T00:00:00Z", true},  {"yesterday", false},           {"", false}};
  for (const auto& age : ages) {
    e.time = age.time;
    EXPECT_EQ(fncJournalListLine(e, now).find("older than 30 days") != std::string::npos, age.old) << age.time;
  }
}

}  // namespace
}  // namespace vq::test
