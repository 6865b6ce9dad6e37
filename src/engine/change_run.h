#pragma once
// What one Change Timestamp run shares across its items, whichever program
// runs it: the writer it chooses, and the news klokan98 keeps for its
// closing message.
#include <string>
#include <vector>

#include "journal.h"
#include "timestamp_writer.h"

// klokan98: the kind of the last refusal of the run; it names the closing message.
enum FailureReason {
    kReasonNone = 1,
    kReasonDriveKind = 2,
    kReasonFreeSpace = 3,
    kReasonLimit1980 = 4,
    kReasonTemporaryName = 5,
    kReasonMissingItem = 6,
    // Entries of a folder stayed in its temporary sibling; it outranks any
    // later refusal, since the user must learn where they are.
    kReasonLeftBehind = 7
};
extern int g_failureReason;
// Records the kind of a refusal; where entries were left behind, that stays
// the news of the run.
void RecordFailureReason(int reason);

// For kReasonLeftBehind: every folder of the run whose entries stayed in a
// temporary folder, with that folder.
struct LeftBehind {
    std::wstring folder, temporary;
};
extern std::vector<LeftBehind> g_leftBehind;

// Whether folders are rebuilt: the file system cannot set a folder's times
// (not NTFS), and the system is not Windows NT 4.0, 2000 or XP.
bool UsesRebuildWriter();
// The rebuilding writer where UsesRebuildWriter, else the handle writer.
ItemWrite WriteTimestampChosen(const std::wstring &path);
// Whether a run that rebuilds folders must refuse the item at path before
// anything below it is touched: it is a folder, and the target is the first
// second a FAT volume keeps, which no rebuilt folder can get.
bool FolderRefusedAt1980(const std::wstring &path);

// What a timestamp run makes of an item: the target time in all three times,
// as the writers convert it.
ItemState TimestampAfter(const std::wstring &path, const ItemState &before);

// How many items a timestamp run over the chosen items changes: each of
// them, and with includeSubfolders everything below them.
std::size_t CountRunItems(const std::vector<std::wstring> &chosen, bool includeSubfolders);
