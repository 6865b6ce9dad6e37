#pragma once
// Sets the creation, last-access and last-write time of one existing file or
// folder to the target time through a file handle.
#include <windows.h>

#include <string>

#include "target_time.h"

// State of the current timestamp run: 1 success so far, more than 1 failures
// counted, 0 stopped after a reported error. The run sets it to 1 first; the
// writers only ever add to it.
extern int g_runStatus;

// The target time as the file system will store it: the target time fields,
// with the second rounded down to an even value unless g_ntfsVolume is 1
// (other file systems keep seconds in steps of two). False when the fields do
// not name a real date and time; *record is then left untouched.
bool BuildTargetRecord(SYSTEMTIME *record);
// The same for a volume that keeps UTC (NTFS) or not, whatever g_ntfsVolume says.
bool BuildTargetRecordFor(bool volumeKeepsUtc, SYSTEMTIME *record);
// The target as every writer stores it on such a volume: its seconds and
// its time rule; false when it is no real date.
bool TargetFileTime(bool volumeKeepsUtc, FILETIME *utc);
// The date and time as a SYSTEMTIME, milliseconds 0 (no check of the values).
SYSTEMTIME SystemTimeOf(const DateTime &t);

// What became of one item. Failed is counted in g_runStatus by the writer;
// the others are not, and the caller decides: a link or the program's own
// file chosen by the user is a failure, one met inside a walk is passed by.
enum class ItemWrite {
    Written,        // the three times read back as the target
    Missing,        // nothing of that name
    Failed,
    LinkLeftAlone,  // a link whose open reached another item: nothing changed
    OwnProgram      // the running program's own file: nothing changed
};

// Writes utc as the creation, last-access and last-write time of the item at
// path and reads them back through the same handle. The item is opened with
// attribute access only (its attributes are never touched, and no other
// program's sharing refuses it), as itself and never through a link. A null
// utc (a target that is no real date) changes nothing and fails.
ItemWrite WriteItemTimes(const std::wstring &path, const FILETIME *utc, bool volumeKeepsUtc);

// Writes the target time to the item at path (a full path in normal form,
// any length the system takes) through WriteItemTimes. Nothing is changed
// unless the target time converts.
ItemWrite WriteTimestampByHandle(const std::wstring &path);
