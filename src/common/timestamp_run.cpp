#include "timestamp_run.h"

#include "language.h"
#include "recreate_writer.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

int g_failureReason = kReasonNone;
char g_leftBehindFolder[kPathBufferSize] = {};
char g_leftBehindTemporary[kPathBufferSize] = {};
HCURSOR g_savedCursor = nullptr;

void RecordFailureReason(int reason)
{
    if (g_failureReason != kReasonLeftBehind) g_failureReason = reason;
}

void RestoreArrowCursor()
{
    if (GetCursor() != g_savedCursor) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void WriteTimestampChosen(HWND owner, const char *path)
{
    if (g_ntfsVolume == 0 && g_windowsKind != 3 && g_windowsKind != 4 && g_windowsKind != 5)
        WriteTimestampByRecreate(owner, path);
    else
        WriteTimestampByHandle(path);
}
