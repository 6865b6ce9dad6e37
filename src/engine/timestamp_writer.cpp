#include "timestamp_writer.h"

#include "handles.h"
#include "item_access.h"
#include "local_time.h"
#include "platform_seams.h"
#include "read_back.h"
#include "run_report.h"
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

bool BuildTargetRecordFor(bool volumeKeepsUtc, SYSTEMTIME *record)
{
    DateTime t = ReadTimeFields(g_targetTime);
    if (!volumeKeepsUtc) t.second = t.second / 2 * 2;
    if (!IsValidDateTime(t)) return false;
    *record = SystemTimeOf(t);
    return true;
}

bool BuildTargetRecord(SYSTEMTIME *record)
{
    return BuildTargetRecordFor(g_ntfsVolume != 0, record);
}

bool TargetFileTime(bool volumeKeepsUtc, FILETIME *utc)
{
    SYSTEMTIME target;
    return BuildTargetRecordFor(volumeKeepsUtc, &target) &&
           LocalTimeToFileTime(target, utc, TimeRuleFor(volumeKeepsUtc));
}

ItemWrite WriteItemTimes(const std::wstring &path, const FILETIME *utc, bool volumeKeepsUtc)
{
    FileHandle item;
    switch (OpenItemForChange(path, item)) {
    case ItemReach::Opened: break;
    case ItemReach::Missing: ReportNotChanged(path, NotChanged::Gone); return ItemWrite::Missing;
    case ItemReach::ThroughLink: return ItemWrite::LinkLeftAlone;
    case ItemReach::OwnProgram: ReportNotChanged(path, NotChanged::OwnProgram); return ItemWrite::OwnProgram;
    case ItemReach::Refused:
        ReportNotChanged(path, ReasonOfError(GetLastError()));
        g_runStatus += 1;
        return ItemWrite::Failed;
    }
    StoredTimes stored = {};
    // A change that did not take is a failure, like a write that was refused.
    if (!utc || !g_platform.setItemTimes(item.Get(), utc, utc, utc)) {
        ReportNotChanged(path, utc ? ReasonOfError(GetLastError()) : NotChanged::Refused);
        g_runStatus += 1;
        return ItemWrite::Failed;
    }
    if (!GetFileTime(item.Get(), &stored.created, &stored.accessed, &stored.written) ||
        !StoredTimesMatch(stored, *utc, volumeKeepsUtc, false)) {
        ReportNotChanged(path, NotChanged::VolumeRefused);
        g_runStatus += 1;
        return ItemWrite::Failed;
    }
    return ItemWrite::Written;
}

ItemWrite WriteTimestampByHandle(const std::wstring &path)
{
    // Settled before the item is touched: a time that does not convert is never written.
    FILETIME utc;
    const bool haveTime = TargetFileTime(g_ntfsVolume != 0, &utc);
    return WriteItemTimes(path, haveTime ? &utc : nullptr, g_ntfsVolume != 0);
}
