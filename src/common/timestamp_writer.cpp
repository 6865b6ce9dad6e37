#include "timestamp_writer.h"

#include <cstring>

#include "handles.h"
#include "item_names.h"
#include "local_time.h"
#include "path_limits.h"
#include "platform_seams.h"
#include "read_back.h"
#include "target_time.h"
#include "volume_checks.h"

int g_runStatus = 1;

SYSTEMTIME SystemTimeOf(const DateTime &t)
{
    SYSTEMTIME s = {};
    s.wYear = static_cast<WORD>(t.year);
    s.wMonth = static_cast<WORD>(t.month);
    s.wDay = static_cast<WORD>(t.day);
    s.wHour = static_cast<WORD>(t.hour);
    s.wMinute = static_cast<WORD>(t.minute);
    s.wSecond = static_cast<WORD>(t.second);
    return s;
}

bool BuildTargetRecord(SYSTEMTIME *record)
{
    DateTime t = ReadTimeFields(g_targetTime);
    if (!g_ntfsVolume) t.second = t.second / 2 * 2;
    if (!IsValidDateTime(t)) return false;
    *record = SystemTimeOf(t);
    return true;
}

void WriteTimestampByHandle(const char *path)
{
    // A name the code page cannot spell comes back from a search with "?";
    // the file functions would take it for a pattern and land on another item.
    if (!path || std::strlen(path) > static_cast<size_t>(kMaxPathChars) || HasWildcard(path)) {
        g_runStatus += 1;
        return;
    }

    // Settled before the item is touched: a time that does not convert is never written.
    SYSTEMTIME target;
    FILETIME utc;
    const bool haveTime = BuildTargetRecord(&target) &&
                          LocalTimeToFileTime(target, &utc, TimeRuleFor(g_ntfsVolume != 0));

    // An exact look-up, no pattern matching.
    WIN32_FILE_ATTRIBUTE_DATA item;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &item)) return;
    if (!haveTime) {
        g_runStatus += 1;
        return;
    }

    // Read-only, hidden and system items refuse to be opened for writing, so
    // those bits are cleared for the moment of the change.
    const DWORD savedAttributes = item.dwFileAttributes;
    SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE);
    bool failed = false;
    {
        // Backup semantics is what lets a folder be opened for writing its times.
        FileHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_ATTRIBUTE_ARCHIVE, nullptr));
        failed = !file.Valid() || !g_platform.setItemTimes(file.Get(), &utc, &utc, &utc);
    }
    // A change that did not take is a failure, like a write that was refused.
    if (!failed && !ItemTimesMatch(path, utc, g_ntfsVolume != 0, false)) failed = true;
    // Put back whatever happened above; an item left without its read-only
    // or hidden bit would be a change the user did not ask for.
    if (!SetFileAttributesA(path, savedAttributes)) failed = true;
    if (failed) g_runStatus += 1;
}
