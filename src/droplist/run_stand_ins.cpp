#include "run_stand_ins.h"

#include "main_window.h"
#include "subtree_walk.h"
#include "timestamp_writer.h"

int g_failureReason = kReasonNone;
HCURSOR g_savedCursor = nullptr;

void RestoreArrowCursor()
{
    if (GetCursor() != g_savedCursor) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void WriteTimestampChosen(HWND, const char *path)
{
    WriteTimestampByHandle(path);
}

void ChangeSubtreeTimestamps(const char *path)
{
    WalkSubtree(
        path, g_programPath,
        [](const char *entry, bool) {
            WriteTimestampChosen(nullptr, entry);
            return true;
        },
        [](const char *, const char *) {
            g_runStatus += 1;
            return true;
        });
}
