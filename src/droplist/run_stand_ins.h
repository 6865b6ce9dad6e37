#pragma once
// The run state and writer choice that the folder rebuild brings; stand-ins
// until it is merged (same names, so the run's code does not change then).
#include <windows.h>

enum FailureReason {
    kReasonNone = 1,
    kReasonDriveKind = 2,
    kReasonFreeSpace = 3,
    kReasonLimit1980 = 4,
    kReasonTemporaryName = 5,
    kReasonMissingItem = 6
};
extern int g_failureReason;
extern HCURSOR g_savedCursor;
void RestoreArrowCursor();
void WriteTimestampChosen(HWND owner, const char *path);
void ChangeSubtreeTimestamps(const char *path);
