#pragma once
// The drive list of klokan99: every drive of the machine and, under the
// current drive, the chain of folders down to the current folder. Choosing a
// drive lists its root; choosing a chain entry goes back up to that folder.

#include <windows.h>

constexpr int kDriveSelectorId = 101;

extern HWND g_hDriveSelector;

// Start-up step 1226, after the date-time lists.
void CreateDriveSelector(HWND mainWindow);
// Fills the control again from the table, with an image per entry.
// Its place at g_dpi.
void PlaceDriveSelector();
void RebuildDriveSelector();
// The folder list entered a subfolder / went up; g_currentFolder is already the new folder.
void PushFolderChainItem();
void PopFolderChainItem();
// Selects the entry of g_currentFolder again.
void ReselectCurrentLocation();
// CBN_SELCHANGE of the drive list.
void OnDriveSelectorChange();
// At shutdown: the drive list's image lists, when they exist.
void DestroyDriveImageList();
