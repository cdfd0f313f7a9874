// The wizard's use of the update journal: the identity saved before step 5 erases the
// firmware, ended when step 7 has written it back, and offered back to a later run.
#pragma once
#include <optional>
#include <vector>

#include "base/update_journal.h"

namespace vq {

// The front end's store; without one nothing is saved or offered.
void installJournalStore(UpdateJournalStore* store);

// Step 5, before the port opens: the identity as the wizard holds it now. A journal that
// cannot be written does not stop the update; its line is shown after the step.
void subSaveJournal();
// After step 5: the line of a journal that could not be written, below the step's lines.
void subShowJournalProblem();
// Step 7 succeeded: the instrument has its identity back.
void subFinishJournal();

// The unfinished entries, the newest for the chosen port first; the files that could not be
// trusted, each with its line below the progress lines.
std::vector<JournalEntry> fncUnfinishedUpdates();
// The newest unfinished entry saved from the chosen port, if any.
std::optional<JournalEntry> fncSavedForThisPort();
// Carries a saved identity into this run: what the forced-update dialog's Set does, with the
// saved model, serial, settings and version.
void subApplyJournal(const JournalEntry& e);
// At start (the window): one line per instrument left half-updated, below the progress lines.
// Nothing is asked: whatever instrument is on the port now reads its own identity in step 2.
void subListUnfinished();
// After step 2 with its code: when the instrument gave no valid reply (it cannot say who it is)
// and an update from this port was cut short, says which and that the forced-update dialog
// continues it; otherwise withdraws any earlier offer.
void subOfferSavedIdentity(int code);
// The entry the forced-update dialog offers, while it is the chosen port's.
std::optional<JournalEntry> fncJournalOffer();
// The operator's word: the entry is deleted and never offered again. False when the store
// has no such entry.
bool subForgetJournal(const std::string& model, const std::string& serial);

void resetJournalSteps();

}  // namespace vq
