#pragma once
// Every change is read back: a volume may keep less than was asked (FAT keeps
// write times in 2-second steps and access times as a date), and a folder
// re-created under its old name may be handed the old creation time by the
// file system. A stored time counts as the target when it matches in the
// precision the volume keeps.
#include <windows.h>

struct StoredTimes {
    FILETIME created, accessed, written;
};

// Whether the stored times match the target (UTC).
// volumeKeepsUtc: NTFS, which keeps creation and write time to the second;
// other volumes keep the write time to 2 seconds. The access time is compared
// by its local date. createdOneSecondEarly: the rebuild stamps its folder one
// second before the target, which counts as a match for the creation time.
bool StoredTimesMatch(const StoredTimes &stored, const FILETIME &target, bool volumeKeepsUtc,
                      bool createdOneSecondEarly);

// Whether a folder just re-created under its old name carries the creation
// moment (one second before the target, or up to a second after it) rather
// than a creation time the file system handed over from the entry that left.
bool CreationTimeMatches(const FILETIME &stored, const FILETIME &target);


