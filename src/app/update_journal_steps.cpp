#include "app/update_journal_steps.h"

#include <string>

#include "app/sequencer.h"
#include "base/forms.h"
#include "base/comm_settings.h"
#include "base/firmware_file.h"
#include "base/image_state.h"
#include "base/param_store.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "platform/platform.h"

namespace vq {

namespace {

constexpr Text kJournalFailed{"更新中の機器情報を保存できませんでした（更新は続行します）：",
                              "The instrument's identity could not be saved for this update (the update goes on): "};
constexpr Text kJournalDamaged{"更新途中の記録を読めないため無視します：",
                               "An update journal cannot be trusted and is ignored: "};
constexpr Text kUnfinished{"更新が完了していない機器があります：", "An instrument was left half-updated: "};
constexpr Text kOfferHead{"次の機器のファームウェア更新が完了していません。\r\n\r\n",
                          "The firmware update of this instrument was not completed:\r\n\r\n"};
constexpr Text kOfferTail{"\r\n\r\n保存されている型番、シリアルナンバー、設定値を使って更新を続けますか？",
                          "\r\n\r\nContinue the update with its saved model name, serial number and setting?"};

UpdateJournalStore* gStore = nullptr;
std::string gSaveProblem;

}  // namespace

void installJournalStore(UpdateJournalStore* store) { gStore = store; }

void subSaveJournal() {
  gSaveProblem.clear();
  if (!gStore || gModelName.empty()) return;
  JournalEntry e;
  e.model = gModelName;
  e.serial = gSerialNo;
  e.cmd04 = gCmd04Value;
  e.cmd06 = gCmd06Value;
  e.fwMain = gFwVerMain;
  e.fwRev = gFwVerRev;
  e.comPort = gCommPort;
  e.port = "COM" + std::to_string(gCommPort);
  e.fileName = gFileTitle;
  std::string why;
  if (!gStore->save(e, why)) gSaveProblem = pick(kJournalFailed) + why;
}

void subShowJournalProblem() {
  if (!gSaveProblem.empty()) subShowBelowProgress(gSaveProblem);
}

void subFinishJournal() {
  if (gStore && !gModelName.empty()) gStore->finish(gModelName, gSerialNo);
}

std::vector<JournalEntry> fncUnfinishedUpdates() {
  if (!gStore) return {};
  std::vector<JournalProblem> problems;
  std::vector<JournalEntry> entries = gStore->unfinished(problems);
  for (const JournalProblem& p : problems) subShowBelowProgress(pick(kJournalDamaged) + p.path + ": " + p.why);
  // The chosen port by its device, whatever COM number it had then.
  return fncOrderForPort(std::move(entries), platform().deviceName(gCommPort));
}

void subApplyJournal(const JournalEntry& e) {
  gModelName = e.model;
  gSerialNo = e.serial;
  gCmd04Value = e.cmd04;
  gCmd06Value = e.cmd06;
  gFwVerMain = e.fwMain;
  gFwVerRev = e.fwRev;
  gForceUpdate = true;
}

void subOfferResume() {
  const std::vector<JournalEntry> entries = fncUnfinishedUpdates();
  if (entries.empty()) return;
  for (const JournalEntry& e : entries) subShowBelowProgress(pick(kUnfinished) + fncJournalSummary(e));
  if (!platform().askYesNo(pick(kOfferHead) + fncJournalSummary(entries.front()) + pick(kOfferTail))) return;
  subApplyJournal(entries.front());
  gStep = 2;  // the sequencer then shows step 3, the version check, as after a forced update
  subSequencer();
}

void resetJournalSteps() { gSaveProblem.clear(); }

}  // namespace vq
