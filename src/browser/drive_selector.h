#pragma once
// The drive list of klokan99 with the chain of folders of the current drive.

#include <windows.h>

// Start-up step 1226, after the date-time lists.
void CreateDriveSelector(HWND mainWindow);
// CBN_SELCHANGE of the drive list.
void OnDriveSelectorChange();
// At shutdown: the drive list's image list, when it exists.
void DestroyDriveImageList();
