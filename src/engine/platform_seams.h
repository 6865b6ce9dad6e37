#pragma once
// The few places where the engine asks the system for something that a test
// machine cannot provide for real: the file-system name of a volume (no FAT
// volume can be mounted there), the version texts of the registry (to play
// an older Windows), the system clock (which a test must never set) and the
// creation of a folder, which takes its times from that clock; whether an
// open item is the link itself or what it points to (Wine always opens the
// target); and the short names of entries and paths, which every volume
// under Wine has.
// The programs always run with the real calls; only tests replace entries.
#include <windows.h>

enum MachineTextResult {
    kMachineTextRead,        // the value was read into the buffer
    kMachineKeyNotOpened,    // the key does not exist or cannot be opened for reading
    kMachineValueUnreadable  // the key opened, the value is missing or does not fit
};

struct PlatformSeams {
    // File-system name of the volume whose root is given ("C:\"), as
    // GetVolumeInformationA reports it; size counts the terminator.
    bool (*volumeFileSystem)(const char *root, char *nameOut, DWORD size);
    // A text value under HKEY_LOCAL_MACHINE, opened for querying only. The
    // buffer is cleared first and stays terminated; on any failure it is empty.
    MachineTextResult (*readMachineText)(const char *keyPath, const char *valueName, char *out,
                                         DWORD size);
    // The system clock in local time.
    void (*getClock)(SYSTEMTIME *now);
    BOOL (*setClock)(const SYSTEMTIME *now);
    // Asks for the right to set the clock in this process's token; false when
    // it cannot be had.
    bool (*enableClockRight)();
    // Writes an open item's creation, last-access and last-write time
    // (SetFileTime); tests make it store something else to prove that every
    // change is read back.
    BOOL (*setItemTimes)(HANDLE item, const FILETIME *created, const FILETIME *accessed,
                         const FILETIME *written);
    // Creates a folder with default security (CreateDirectoryW); the file
    // system stamps it with the clock's time. A test clock that only pretends
    // to be set stamps the new folder itself here.
    BOOL (*createFolder)(const wchar_t *path);
    // Whether the item, opened by path, is another item than the one the
    // path names: the open went through a link. On Windows a link opened
    // with FILE_FLAG_OPEN_REPARSE_POINT is the link itself.
    bool (*reachedThroughLink)(HANDLE item, const char *path);
    // The short (8.3) name a search reported beside an entry's own name
    // (cAlternateFileName); empty when the volume keeps none for it.
    const char *(*shortName)(const WIN32_FIND_DATAA &found);
    // The short form of a whole path (GetShortPathNameW); on a volume that
    // keeps no short names it is the path as given.
    DWORD (*shortPath)(const wchar_t *path, wchar_t *out, DWORD size);
};

// What the engine calls; starts as the real system.
extern PlatformSeams g_platform;
// The real system, for putting an entry back.
extern const PlatformSeams g_realPlatform;

// Asks for the right to set the system clock in this process's token; false
// when it cannot be had. The real entry of enableClockRight.
bool EnableClockPrivilege();
