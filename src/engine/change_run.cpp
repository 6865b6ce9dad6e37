#include "change_run.h"

#include "item_access.h"
#include "language.h"
#include "local_time.h"
#include "path_text.h"
#include "run_progress.h"
#include "run_report.h"
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
    const ItemWrite result =
        UsesRebuildWriter() ? WriteTimestampByRecreate(path) : WriteTimestampByHandle(path);
    if (result == ItemWrite::Written) ReportChanged();
    return result;
}

bool FolderRefusedAt1980(const std::wstring &path)
{
    if (!UsesRebuildWriter() || FolderTargetReachable()) return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ReadItemData(path, &data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

ItemState TimestampAfter(const std::wstring &path, const ItemState &before)
{
    // By the rule of the item's own volume, as the writer will write it:
    // not by whichever volume the run looked at last.
    ItemState after = before;
    FILETIME utc;
    const std::wstring root = RootOf(path);
    const bool volumeKeepsUtc = root.empty() || VolumeIsNtfsRemembered(root) != 0;
    if (TargetFileTime(volumeKeepsUtc, &utc)) after.created = after.accessed = after.written = utc;
    return after;
}

std::size_t CountRunItems(const std::vector<std::wstring> &chosen, bool includeSubfolders)
{
    std::size_t total = 0;
    for (const std::wstring &path : chosen)
        total += 1 + (includeSubfolders ? CountEntriesBelow(path, g_programPath, false) : 0);
    return total;
}
