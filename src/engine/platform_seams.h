#pragma once
// The few places where the engine asks the system for something that a test
// machine cannot provide for real: the file-system name of a volume (no FAT
// volume can be mounted there), the version texts of the registry (to play
// an older Windows), the system clock (which a test must never set) and the
// creation of a folder, which takes its times from that clock; and whether
// an open item is the link itself or what it points to (Wine always opens
// the target), and whether the system can open a link as itself at all. The programs always run with the real calls; only tests
// replace entries.
#include <windows.h>

#include <string>

enum MachineTextResult {
    kMachineTextRead,        // the value was read into the buffer
    kMachineKeyNotOpened,    // the key does not exist or cannot be opened for reading
    kMachineValueUnreadable  // the key opened, the value is missing or does not fit
};

// Where an open by path led: to the item the path names, through a link to
// another, or the system could not say (the item is then left alone, and
// named).
enum class LinkAnswer { Itself, ThroughLink, Unsettled };

struct PlatformSeams {
    // File-system name of the volume whose root is given (L"C:\\"), as
    // GetVolumeInformationW reports it; size counts the terminator.
    bool (*volumeFileSystem)(const wchar_t *root, wchar_t *nameOut, DWORD size);
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
    // Creates a folder with default security (CreateDirectoryW, path in
    // extended-length form); the file system stamps it with the clock's time.
    // A test clock that only pretends to be set stamps the new folder itself.
    BOOL (*createFolder)(const wchar_t *path);
    // Whether the item, opened by path (normal form), is another item than
    // the one the path names: the open went through a link. On Windows a link
    // opened with FILE_FLAG_OPEN_REPARSE_POINT is the link itself.
    LinkAnswer (*reachedThroughLink)(HANDLE item, const std::wstring &path);
    // Whether this system opens a link as itself when asked to: then no item
    // is asked where its open led (reachedThroughLink is never called). The
    // real entry tries it once per process (link_probe.h).
    bool (*linksOpenAsThemselves)();
};

// What the engine calls; starts as the real system.
extern PlatformSeams g_platform;
// The real system, for putting an entry back.
extern const PlatformSeams g_realPlatform;

// Asks for the right to set the system clock in this process's token; false
// when it cannot be had. The real entry of enableClockRight.
bool EnableClockPrivilege();
