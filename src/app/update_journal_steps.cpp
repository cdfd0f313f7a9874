#include "app/update_journal_steps.h"

#include <string>

#include "base/forms.h"
#include "base/comm_settings.h"
#include "base/firmware_file.h"
#include "base/param_store.h"
#include "base/progress.h"
#include "base/state.h"
#include "base/texts.h"
#include "base/wizard_codes.h"
#include "platform/platform.h"

namespace vq {

namespace {

constexpr Text kJournalFailed{"更新中の機器情報を保存できませんでした（更新は続行します）：",
                              "The instrument's identity could not be saved for this update (the update goes on): "};
constexpr Text kJournalDamaged{"更新途中の記録を読めないため無視します：",
                               "An update journal cannot be trusted and is ignored: "};
constexpr Text kUnfinished{"更新が完了していない機器があります：", "An instrument was left half-updated: "};
constexpr Text kCutShort{"この通信ポートで更新が中断された機器があります：", "An update on this port was cut short: "};
constexpr Text kCutShortHint{"この機器がその機器であれば（銘板で確認してください）、「強制更新」で保存された機器情報を使って更新を続けられます。",
                             "If this is that instrument (compare its label), Forced update continues it with its saved "
                             "identity and setting."};
constexpr Text kForgotten{"保存された機器情報を削除しました：", "Saved identity forgotten: "};

UpdateJournalStore* gStore = nullptr;
std::string gSaveProblem;
// Offered by a step 2 that got no valid reply; withdrawn by the next step 2.
std::optional<JournalEntry> gJournalOffer;

std::string deviceOfPort() { return platform().deviceName(gCommPort); }

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
  return fncOrderForPort(std::move(entries), deviceOfPort());
}

std::optional<JournalEntry> fncSavedForThisPort() {
  const std::vector<JournalEntry> mine = fncEntriesForDevice(fncUnfinishedUpdates(), deviceOfPort());
  if (mine.empty()) return std::nullopt;
  return mine.front();
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

void subListUnfinished() {
  for (const JournalEntry& e : fncUnfinishedUpdates()) subShowBelowProgress(pick(kUnfinished) + fncJournalListLine(e));
}

void subOfferSavedIdentity(int code) {
  gJournalOffer.reset();
  // Only an instrument that cannot say who it is: one that answered keeps its own identity.
  if (code != kCodeLinkRetries && code != kCodeLinkTimeout) return;
  gJournalOffer = fncSavedForThisPort();
  if (!gJournalOffer) return;
  subShowBelowProgress(pick(kCutShort) + fncJournalListLine(*gJournalOffer));
  subShowBelowProgress(pick(kCutShortHint));
}

std::optional<JournalEntry> fncJournalOffer() {
  // Chosen for another port since: not this instrument's.
  if (gJournalOffer && fncEntriesForDevice({*gJournalOffer}, deviceOfPort()).empty()) return std::nullopt;
  return gJournalOffer;
}

bool subForgetJournal(const std::string& model, const std::string& serial) {
  if (!gStore) return false;
  std::vector<JournalProblem> problems;
  for (const JournalEntry& e : gStore->unfinished(problems)) {
    if (e.model != model || e.serial != serial) continue;
    // Forgetting ends the entry as a completed update would.
    gStore->finish(model, serial);
    if (gJournalOffer && gJournalOffer->model == model && gJournalOffer->serial == serial) gJournalOffer.reset();
    subShowBelowProgress(pick(kForgotten) + fncJournalSummary(e));
    return true;
  }
  return false;
}

void resetJournalSteps() {
  gSaveProblem.clear();
  gJournalOffer.reset();
}

}  // namespace vq
