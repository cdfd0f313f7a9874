// The wizard's use of the update journal: the identity saved before step 5 erases the
// firmware, ended when step 7 has written it back, and offered back to a later run.
#pragma once
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
// Carries a saved identity into this run: what the forced-update dialog's Set does, with the
// saved model, serial, settings and version.
void subApplyJournal(const JournalEntry& e);
// At start (the window): says which instruments were left half-updated and offers the newest
// for the chosen port; accepted, the wizard goes on at step 3 as after a forced update.
void subOfferResume();

void resetJournalSteps();

}  // namespace vq
