#pragma once
// klokan99: one chosen item of the timestamp run, and everything below it.
#include <windows.h>

#include <string>

#include "timestamp_writer.h"

// Checks the drive of the item (kind, free space, NTFS) unless this run
// already passed it; false after a refusal stopped the run with its message.
bool CheckItemDrive(HWND owner, const std::wstring &path);
// Changes one item. While firstItemDone is 0 the item's drive is checked
// first (CheckItemDrive). Does nothing once the run has been stopped
// (g_runStatus 0); a link or the program's own file is left alone and said
// so in the result.
ItemWrite ChangeItemTimestamp(HWND owner, const std::wstring &path, int firstItemDone);
// Starts a run: the next item's drive is checked again.
void ForgetCheckedDrive();
// Changes everything below the folder at path (a full path), the contents of
// a folder before the folder; stops at the first reported refusal. A folder
// that cannot be listed counts as one failure; links met on the way are left
// alone without one, and a linked folder is never walked into.
void ChangeSubtreeTimestamps(HWND owner, const std::wstring &path, int firstItemDone);
