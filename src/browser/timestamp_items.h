#pragma once
// klokan99: one chosen item of the timestamp run, and everything below it.
#include <windows.h>

#include "main_window.h"
#include "path_limits.h"


// Changes one item. While firstItemDone is 0 the item's drive is checked
// first (kind, free space, NTFS), once per drive and run; a refusal stops the
// run with its message. Does nothing once the run has been stopped
// (g_runStatus 0).
void ChangeItemTimestamp(HWND owner, const char *path, int firstItemDone);
// Starts a run: the next item's drive is checked again.
void ForgetCheckedDrive();
// Changes everything below the folder at path (a full path), the contents of
// a folder before the folder; stops at the first reported refusal. An entry
// that cannot be reached counts as one failure.
void ChangeSubtreeTimestamps(HWND owner, const char *path, int firstItemDone);
