#pragma once
// The journal of a change run. Before an item changes, the run writes down
// what the item is and what the run is about to make of it, so that Undo
// can put it back and can tell an item changed since the run from one the
// run left as it made it. One file per run, in the user's local application
// data folder under "Retempo"; the journals of the last ten runs are kept.
//
// The journal is kept like a database's log: whatever ends the process, it
// leaves a state that can be put back.
// - A run writes down everything it will reach while it counts its items,
//   and has that on the disk before the first item changes; an entry that
//   appears later is written down, and on the disk, before anything in its
//   folder changes.
// - Before a folder is taken apart to be rebuilt, and before an item goes
//   through a temporary name, the journal holds where its parts go, on the
//   disk; afterwards it says that the step is over.
// - An Undo marks, in the journal it puts back, each item it has settled
//   (put back, or left alone and named), on the disk at least every 200
//   items and before every rebuild.
// - Every run ends with a closing record. A journal without one belongs to a
//   run that was cut off, unless its run is still going on elsewhere (the
//   change lock tells).
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// What a run changes; the letter is the journal's own spelling of it.
enum class JournalKind : wchar_t { Timestamp = L'T', Attributes = L'A', Letters = L'L' };

// How a run ended, as its closing record says.
enum class RunOutcome : char {
    Completed = 'c',
    Stopped = 's',      // the user, or the end of the session, stopped it between two items
    Failed = 'f',       // its journal could no longer be written
    Interrupted = 'i'   // cut off; found and closed by a later start
};

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

// A folder that a rebuild took apart: while the step is open, its entries
// may be in the temporary sibling and the new folder may be incomplete.
struct RebuildStep {
    std::wstring folder, temporary;
    DWORD attributes = 0;  // the folder's own, put back when it is whole again
    FILETIME created = {}, accessed = {}, written = {};
    // The times of the folder that holds it (all zero when unknown): the
    // renames in it renew them, and they are put back where the system can.
    FILETIME parentCreated = {}, parentAccessed = {}, parentWritten = {};
};

// An item between the two renames of a change of letters, under a temporary
// name while the step is open.
struct RenameStep {
    std::wstring from, temporary;
};

// What the run makes of an item at path, given what it is.
using AfterChange = ItemState (*)(const std::wstring &path, const ItemState &before);

struct JournalFile {
    std::wstring path;
    JournalKind kind = JournalKind::Timestamp;
    bool isUndo = false;      // the run was itself an undo
    std::wstring undoes;      // for an undo: the file name of the journal it put back
    SYSTEMTIME started = {};  // local time the run began
    bool closed = false;      // it has its closing record
    RunOutcome outcome = RunOutcome::Interrupted;
    bool undoneMark = false;  // marked as undone as a whole
    std::vector<JournalEntry> entries;  // in the order they were written
    std::vector<char> settled;          // per entry: an undo settled it
    std::vector<RebuildStep> openRebuilds;  // begun, not known to be over
    std::vector<RenameStep> openRenames;

    // Entries no undo has settled yet.
    std::size_t Unsettled() const;
    // Whether an undo has settled every entry.
    bool FullyUndone() const;
};

// The folder of the journals; when empty, "Retempo" in the user's local
// application data folder. Tests point it at a folder of their own.
extern std::wstring g_journalFolder;
std::wstring JournalFolder();

// Opens a new journal for a run; false when it cannot be written (nothing
// may change then). after is applied to every item recorded. An undo names
// the file of the journal it puts back.
bool JournalBegin(JournalKind kind, bool isUndo, AfterChange after,
                  const std::wstring &undoes = std::wstring());
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
// A rebuild about to take a folder apart, on the disk before it returns
// true; with no journal open there is nothing to write and it is true.
bool JournalRebuildBegins(const RebuildStep &step);
// The rebuild of folder is over: its entries are in the folder again.
void JournalRebuildEnds(const std::wstring &folder);
// The same for an item about to go through a temporary name, and back.
bool JournalRenameBegins(const RenameStep &step);
void JournalRenameEnds(const std::wstring &from);
// Closes the journal with its closing record. One that recorded nothing is
// removed; only the ten newest journals are kept.
void JournalEnd(RunOutcome outcome);
// Closes and removes the journal of a run that changed nothing (stopped
// while it counted its items).
void JournalDiscard();

// Marks, in the journal an undo puts back, the entries it settles. Begin
// opens that journal for the marks; each mark is on the disk with the next
// flush of the undo's own journal, and at the latest after 200 marks.
bool UndoMarksBegin(const std::wstring &journalPath);
void UndoMarkSettled(std::size_t entry);
// Closes the marks; when every entry is settled, the journal is marked undone.
void UndoMarksEnd();

enum class JournalRead {
    Read,
    Unreadable,  // no journal header: not a journal of this program
    Damaged      // a journal whose records cannot be trusted (cut, altered)
};
// Reads one journal file.
JournalRead ReadJournal(const std::wstring &path, JournalFile *journal);
// The journal files, oldest first (their names are the moments they were made).
std::vector<std::wstring> JournalPaths();
// Appends a closing record to a journal that has none (a run that was cut off).
bool CloseJournalAs(const std::wstring &path, RunOutcome outcome);
// Appends to a journal that a step it left open is over (recovery made the
// folder whole again, or brought the item back from its temporary name).
bool CloseJournalStep(const std::wstring &path, const RebuildStep &step);
bool CloseJournalStep(const std::wstring &path, const RenameStep &step);

// The state of an item read by its path, its name from its folder's listing.
bool ReadItemState(const std::wstring &path, ItemState *state);
