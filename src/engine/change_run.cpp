#include "change_run.h"

#include "item_access.h"
#include "local_time.h"
#include "run_progress.h"

#include "item_access.h"
#include "language.h"
#include "recreate_writer.h"
#include "volume_checks.h"

int g_failureReason = kReasonNone;
std::vector<LeftBehind> g_leftBehind;

void RecordFailureReason(int reason)
{
    if (g_failureReason != kReasonLeftBehind) g_failureReason = reason;
}

bool UsesRebuildWriter()
{
    return g_ntfsVolume == 0 && g_windowsKind != 3 && g_windowsKind != 4 && g_windowsKind != 5;
}

ItemWrite WriteTimestampChosen(const std::wstring &path)
{
    return UsesRebuildWriter() ? WriteTimestampByRecreate(path) : WriteTimestampByHandle(path);
}

bool FolderRefusedAt1980(const std::wstring &path)
{
    if (!UsesRebuildWriter() || FolderTargetReachable()) return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ReadItemData(path, &data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

ItemState TimestampAfter(const std::wstring &, const ItemState &before)
{
    ItemState after = before;
    SYSTEMTIME target;
    FILETIME utc;
    if (BuildTargetRecord(&target) &&
        LocalTimeToFileTime(target, &utc, TimeRuleFor(g_ntfsVolume != 0)))
        after.created = after.accessed = after.written = utc;
    return after;
}

std::size_t CountRunItems(const std::vector<std::wstring> &chosen, bool includeSubfolders)
{
    std::size_t total = 0;
    for (const std::wstring &path : chosen)
        total += 1 + (includeSubfolders ? CountEntriesBelow(path, g_programPath, false) : 0);
    return total;
}
