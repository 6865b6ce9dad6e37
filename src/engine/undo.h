#pragma once
// Undo: puts back what a journal recorded, the newest entry first, through
// the same writers the runs use. An item still as the run left it gets its
// old times, attributes or name back; one that is gone, or that changed
// since the run, is left alone and named. The undo writes a journal of its
// own before it changes anything, so it can be undone in turn, and marks in
// the journal it puts back each entry it has settled, so that an undo cut
// short (stopped, failed in part, or ended with the process) can be taken up
// again where it stopped. Recovery after a run that was cut off goes through
// here too.
#include <cstddef>
#include <string>
#include <vector>

#include "journal.h"

struct UndoOutcome {
    bool journalFailed = false;  // its own journal could not be written: nothing changed
    bool stopped = false;        // the user stopped it between two items
    std::size_t putBack = 0;
    std::size_t left = 0;        // items it would have put back when stopped
    std::vector<std::wstring> gone, changedSince, failed;
    // Put back but for their creation time, which no rebuilt folder can carry.
    std::vector<std::wstring> creationLeft;
};

// One item to put back: its entry in the journal, where it is now, what it
// is now and what it was before the run.
struct UndoItem {
    std::size_t entry;
    std::wstring path;
    ItemState now, old;
};

// What an undo of a journal does: the items it puts back, newest first, and
// the entries it settles without a change (never changed, gone, changed
// since; the last two named in outcome).
struct UndoPlan {
    std::vector<UndoItem> items;
    std::vector<std::size_t> settledAsTheyAre;
    bool stopped = false;  // the check was stopped (NextCountedItem) before its end
};
// Each entry checked goes through NextCountedItem, within a run's progress.
UndoPlan PlanUndo(const JournalFile &journal, UndoOutcome *outcome);

// Puts the planned items back, between run items (NextRunItem), each marked
// settled in the journal once it is back.
void PutItemsBack(const JournalFile &journal, const UndoPlan &plan, UndoOutcome *outcome);

// What "Undo last change" takes.
struct UndoChoice {
    enum Status { Nothing, Offered, Damaged } status = Nothing;
    JournalFile journal;  // Offered: the journal to put back
    std::wstring damaged; // Damaged: the newest journal, which cannot be read
    // An undo of it was cut short before: only the rest is left.
    bool Rest() const { return journal.Unsettled() < journal.entries.size(); }
};
// The newest journal not fully undone; where that is an undo cut short, the
// rest of the journal it was putting back.
UndoChoice ChooseUndo();
// The same for one given journal (recovery after a run cut off).
UndoChoice UndoChoiceFor(const JournalFile &journal);

// What putting together the cut-off steps of a journal achieved.
struct StepRepair {
    std::vector<RebuildStep> foldersWhole, foldersApart;
    std::vector<RenameStep> namesBack, namesAway;
};
// Puts together what a journal's open steps left: a folder taken apart for
// a rebuild gets its entries, its times and its attributes back; an item
// left under a temporary name gets its old name back. Each step put right
// is closed in the journal.
StepRepair RepairOpenSteps(const JournalFile &journal);

// The journals of runs that were cut off: no closing record. Only
// meaningful while the change lock is held, when no run is going on.
std::vector<JournalFile> UnfinishedJournals();
