#include "local_time.h"

#include <cstring>

#include "language.h"
#include "path_text.h"
#include "target_time.h"
#include "volume_checks.h"

TimeRule TimeRuleFor(bool volumeKeepsUtc)
{
    const bool showsTheDateRule = g_windowsKind == 6 || g_windowsKind == 7;
    return showsTheDateRule && volumeKeepsUtc ? TimeRule::RuleOfTheDate : TimeRule::CurrentBias;
}

TimeRule TimeRuleForPath(const std::wstring &path)
{
    const std::wstring root = RootOf(path);
    if (root.empty()) return TimeRuleFor(true);
    return TimeRuleFor(VolumeIsNtfs(root) != 0);
}

bool LocalTimeToFileTime(const SYSTEMTIME &local, FILETIME *utc, TimeRule rule)
{
    FILETIME localFileTime;
    FILETIME result;
    // Also what refuses a date that does not exist, such as 31 April.
    if (!SystemTimeToFileTime(&local, &localFileTime)) return false;
    if (rule == TimeRule::RuleOfTheDate) {
        SYSTEMTIME universal;
        if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal)) return false;
        if (!SystemTimeToFileTime(&universal, &result)) return false;
    } else if (!LocalFileTimeToFileTime(&localFileTime, &result)) {
        return false;
    }
    *utc = result;
    return true;
}

bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local, TimeRule rule)
{
    SYSTEMTIME result;
    if (rule == TimeRule::RuleOfTheDate) {
        SYSTEMTIME universal;
        if (!FileTimeToSystemTime(&utc, &universal)) return false;
        if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &result)) return false;
    } else {
        FILETIME localFileTime;
        if (!FileTimeToLocalFileTime(&utc, &localFileTime)) return false;
        if (!FileTimeToSystemTime(&localFileTime, &result)) return false;
    }
    *local = result;
    return true;
}

void FormatItemTime(const FILETIME &utc, TimeRule rule, char (&text)[kDateTimeTextSize])
{
    std::memset(text, 0, sizeof text);
    SYSTEMTIME local;
    if (!FileTimeToLocalTime(utc, &local, rule)) return;
    FormatDateTime(local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
                   local.wSecond, text);
}

bool LocalTimeToFileTime(const SYSTEMTIME &local, FILETIME *utc)
{
    return LocalTimeToFileTime(local, utc, TimeRule::CurrentBias);
}

bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local)
{
    return FileTimeToLocalTime(utc, local, TimeRule::CurrentBias);
}
