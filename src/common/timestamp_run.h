#pragma once
// State and writer choice of a timestamp run, shared by both programs.
#include <windows.h>

#include "path_limits.h"

// klokan98: the kind of the last refusal of the run; it names the closing message.
enum FailureReason {
    kReasonNone = 1,
    kReasonDriveKind = 2,
    kReasonFreeSpace = 3,
    kReasonLimit1980 = 4,
    kReasonTemporaryName = 5,
    kReasonMissingItem = 6,
    // Entries of a folder stayed in its temporary sibling; it outranks any
    // later refusal, since the user must learn where they are.
    kReasonLeftBehind = 7
};
extern int g_failureReason;
// Records the kind of a refusal; where entries were left behind, that stays
// the news of the run.
void RecordFailureReason(int reason);
// For kReasonLeftBehind: the folder and the temporary folder holding what stayed.
extern char g_leftBehindFolder[kPathBufferSize];
extern char g_leftBehindTemporary[kPathBufferSize];

// The cursor that was current before the run set the wait cursor.
extern HCURSOR g_savedCursor;

// Puts the arrow back unless the cursor is already the one the run found.
void RestoreArrowCursor();

// The rebuilding writer where the file system cannot set a folder's times
// (not NTFS, and not Windows NT 4.0, 2000 or XP), else the handle writer.
void WriteTimestampChosen(HWND owner, const char *path);
