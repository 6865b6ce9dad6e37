#include "timestamp_run.h"

#include "language.h"
#include "messages.h"
#include "platform_seams.h"
#include "target_time.h"
#include "recreate_writer.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

int g_failureReason = kReasonNone;
std::vector<LeftBehind> g_leftBehind;
HCURSOR g_savedCursor = nullptr;

void RecordFailureReason(int reason)
{
    if (g_failureReason != kReasonLeftBehind) g_failureReason = reason;
}

void RestoreArrowCursor()
{
    if (GetCursor() != g_savedCursor) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

bool UsesRebuildWriter()
{
    return g_ntfsVolume == 0 && g_windowsKind != 3 && g_windowsKind != 4 && g_windowsKind != 5;
}

ItemWrite WriteTimestampChosen(HWND owner, const char *path)
{
    return UsesRebuildWriter() ? WriteTimestampByRecreate(owner, path)
                               : WriteTimestampByHandle(path);
}

bool FolderRefusedAt1980(const char *path)
{
    if (!UsesRebuildWriter() || FolderTargetReachable()) return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ShowClockNotPutBack(HWND owner)
{
    SYSTEMTIME now = {};
    g_platform.getClock(&now);
    char shown[kDateTimeTextSize];
    FormatDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, shown);
    ShowMessageFormatted(owner, Msg::ClockNotPutBack, shown);
}
