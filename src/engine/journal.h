#pragma once
// The journal of a change run. Before an item changes, the run writes down
// what the item is and what the run is about to make of it, so that Undo
// can put it back and can tell an item changed since the run from one the
// run left as it made it. One file per run, in the user's local application
// data folder under "Retempo"; the journals of the last ten runs are kept.
//
// A run writes down everything it will reach while it counts its items, and
// has that on the disk before the first item changes; an entry that appears
// later is written down, and on the disk, before anything in its folder
// changes. A run cut short by a crash or a power loss therefore leaves a
// journal that covers everything it changed.
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// What a run changes; the letter is the journal's own spelling of it.
enum class JournalKind : wchar_t { Timestamp = L'T', Attributes = L'A', Letters = L'L' };

// An item as far as a run touches it.
struct ItemState {
    FILETIME created = {}, accessed = {}, written = {};
    DWORD attributes = 0;
    std::wstring name;  // as the file system stores it
};

struct JournalEntry {
    std::wstring path;  // full path in normal form, as the run reached the item
    ItemState before;   // before the run
    ItemState after;    // what the run makes of it
};

// What the run makes of an item, given what it is.
using AfterChange = ItemState (*)(const ItemState &before);

struct JournalFile {
    std::wstring path;
    JournalKind kind = JournalKind::Timestamp;
    bool isUndo = false;   // the run was itself an undo
    SYSTEMTIME started = {};  // local time the run began
    bool undone = false;
    std::vector<JournalEntry> entries;  // in the order they were written
};

// The folder of the journals; when empty, "Retempo" in the user's local
// application data folder. Tests point it at a folder of their own.
extern std::wstring g_journalFolder;
std::wstring JournalFolder();

// Opens a new journal for a run; false when it cannot be written (nothing
// may change then). after is applied to every item recorded.
bool JournalBegin(JournalKind kind, bool isUndo, AfterChange after);
// Whether a journal is open.
bool JournalOpen();
// Writes the item down with what the run makes of it (kept until the next
// flush). False, with the journal broken, when it cannot be written.
bool JournalRecord(const std::wstring &path, const ItemState &before);
// The same with what the change makes of it given here (an undo: each
// item's own old state).
bool JournalRecordChange(const std::wstring &path, const ItemState &before, const ItemState &after);
// Whether the item at path was written down in this journal.
bool JournalKnows(const std::wstring &path);
// While held (as a run counts its items), a flush writes the journal out but
// does not wait for the disk; the flush that ends the hold does.
void JournalHoldSync(bool hold);
// The item at path as it stands, written down; false when it cannot be read
// or written down.
bool JournalRecordItem(const std::wstring &path);
// Puts everything recorded on the disk; false when that fails. Nothing
// recorded since the last flush may change before this returns true.
bool JournalFlush();
// Whether a write of the journal failed in this run: the run must stop.
bool JournalBroken();
// Closes the journal. One that recorded nothing is removed; only the ten
// newest journals are kept.
void JournalEnd();

// The newest journal not yet undone; false when there is none.
bool ReadLatestJournal(JournalFile *journal);
// Reads one journal file; false when it is not one.
bool ReadJournal(const std::wstring &path, JournalFile *journal);
// Marks a journal as undone, so that Undo passes on to an older one.
bool MarkJournalUndone(const std::wstring &path);

// The state of an item read by its path, its name from its folder's listing.
bool ReadItemState(const std::wstring &path, ItemState *state);
