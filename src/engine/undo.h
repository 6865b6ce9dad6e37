#pragma once
// Undo: puts back what a journal recorded, the newest entry first, through
// the same writers the runs use. An item still as the run left it gets its
// old times, attributes or name back; one that is gone, or that changed
// since the run, is left alone and named. The undo writes a journal of its
// own before it changes anything, so it can be undone in turn.
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
};

// The items of the journal that Undo would put back (those still as the run
// left them), newest first; the others go to outcome's lists.
std::vector<JournalEntry> ItemsToPutBack(const JournalFile &journal, UndoOutcome *outcome);

// Puts the items back (as ItemsToPutBack gave them), between run items
// (NextRunItem), and marks the journal undone once the undo has begun.
void PutItemsBack(const JournalFile &journal, const std::vector<JournalEntry> &items,
                  UndoOutcome *outcome);
