// Which runs of the wizard make an update record, and what it says: one per attempt, written
// when a step holding the port fails, when step 7 succeeds, or when the program ends between.
#include "app/update_attempt.h"
#include "base/firmware_file.h"
#include "base/param_store.h"
#include "base/update_record.h"
#include "wizard/wizard_fixture.h"

namespace vq::test {
namespace {

class Sink : public UpdateRecordSink {
 public:
  explicit Sink(virt::VirtualClock& c) : clock_(c) {}
  std::int64_t nowMs() override { return clock_.nowUs() / 1000; }
  void write(UpdateRecord r) override { records.push_back(std::move(r)); }
  std::vector<UpdateRecord> records;

 private:
  virt::VirtualClock& clock_;
};

struct Expected {
  int result;
  int failedStep;          // 0 = none
  const char* before;      // nullptr = unknown
  const char* after;
};

struct Case {
  const char* name;
  // n: Next; x: the cable pulled; p: plugged back; f: forced update accepted; q: the program ends.
  const char* script;
  std::vector<Expected> records;
};

const Case kCases[] = {
    {"whole update", "nnnnnnnq", {{0, 0, "Ver.1.2.3", "Ver.1.2.0"}}},
    {"nothing begun: no record", "q", {}},
    {"step 2 fails, then the retry goes through", "xnpnnnnnnq",
     {{11, 2, nullptr, nullptr}, {0, 0, "Ver.1.2.3", "Ver.1.2.0"}}},
    // Before the step began nothing was written; once it began the flash is in doubt.
    {"step 5 fails and the program ends", "nnnxnq", {{30, 5, "Ver.1.2.3", nullptr}}},
    {"step 7 fails: the new firmware is in", "nnnnnxnq", {{11, 7, "Ver.1.2.3", "Ver.1.2.0"}}},
    {"forced update: no version before", "fnnnnnq", {{0, 0, nullptr, "Ver.1.2.0"}}},
    {"the program ends at step 4", "nnnq", {{130, 4, "Ver.1.2.3", "Ver.1.2.3"}}},
};

using UpdateRecordTest = WizardTest;

TEST_F(UpdateRecordTest, OneRecordPerAttempt) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    load();
    Sink sink(p->clock);
    installUpdateRecordSink(&sink);
    gFileValid = true;
    frmMain.lblFWNew.caption = "Ver.1.2.0";  // as the file selection shows it
    p->onForceUpdateDialog = [] {
      gModelName = "VQA-7000";
      gSerialNo = " 24680";
      gForceUpdate = true;
    };
    for (const char* s = c.script; *s; ++s) {
      switch (*s) {
        case 'n': cmdNext_Click(); break;
        case 'x': p->port.existingPorts = {}; break;
        case 'p': p->port.existingPorts = {1}; break;
        case 'f': cmdForceUpdate_Click(); break;
        case 'q': noteUpdateStopped(); break;
      }
    }
    installUpdateRecordSink(nullptr);
    ASSERT_EQ(sink.records.size(), c.records.size());
    for (std::size_t i = 0; i < c.records.size(); ++i) {
      const UpdateRecord& r = sink.records[i];
      const Expected& e = c.records[i];
      EXPECT_EQ(r.result, e.result) << i;
      EXPECT_EQ(r.failedStep.value_or(0), e.failedStep) << i;
      EXPECT_EQ(r.firmwareBefore.value_or("unknown"), e.before ? e.before : "unknown") << i;
      EXPECT_EQ(r.firmwareAfter.value_or("unknown"), e.after ? e.after : "unknown") << i;
      EXPECT_EQ(r.comPort, 1);
      // A whole update takes at least the link's ticks; a port that is not there fails at once.
      if (e.result == 0) {
        EXPECT_GT(r.durationS, 0.0) << i;
      }
    }
  }
}

TEST(UpdateRecordJson, FieldsInOrderAndTextEscaped) {
  UpdateRecord r;
  r.time = "2026-12-08T09:00:00Z";
  r.port = "/dev/ttyUSB0";
  r.comPort = 1;
  r.model = "VQA-7001";
  r.serial = " 13579";
  r.firmwareBefore = "Ver.1.0.3";
  r.fileName = "new \"β\"\\1\r\n\x01.bin";
  r.fileSha256 = "ab";
  r.result = 33;
  r.failedStep = 5;
  r.durationS = 1.5;
  r.program = "vq-update-cli 1.1.0";
  r.host = "bench-3";
  const std::string head =
      R"({"time":"2026-12-08T09:00:00Z","port":"/dev/ttyUSB0","com":1,"model":"VQA-7001","serial":" 13579",)"
      R"("firmware_before":"Ver.1.0.3","firmware_after":null,"file":"new \"β\"\\1\r\n\u0001.bin","file_sha256":"ab",)"
      R"("result":33,"failed_step":5,"duration_s":1.500)";
  EXPECT_EQ(fncUpdateRecordJson(r, false), head + "}");
  EXPECT_EQ(fncUpdateRecordJson(r, true), head + R"(,"program":"vq-update-cli 1.1.0","host":"bench-3"})");
  r.result = 0;
  r.failedStep.reset();
  EXPECT_NE(fncUpdateRecordJson(r, false).find(R"("result":0,"failed_step":null)"), std::string::npos);
}

}  // namespace
}  // namespace vq::test
