#pragma once
// Sets the creation, last-access and last-write time of one existing file or
// folder to the target time through a file handle.
#include <windows.h>

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
// The date and time as a SYSTEMTIME, milliseconds 0 (no check of the values).
SYSTEMTIME SystemTimeOf(const DateTime &t);

// Writes the target time to the item at path (a full path of at most 255
// characters). An item that does not exist is skipped silently. Otherwise one
// failure is counted in g_runStatus when the path is too long or holds a
// wildcard, when the target time is not a real date, or when the item cannot
// be opened, its times cannot be set or its attributes cannot be put back.
// Nothing is changed unless the target time converts, and the item's
// attributes are always put back as they were.
void WriteTimestampByHandle(const char *path);
