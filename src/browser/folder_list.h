#pragma once
// The folder list of klokan99 and its container window.

#include <windows.h>

#include "main_window.h"

// The folder whose contents the list shows; the process's current directory
// equals it while the list is idle.
extern char g_currentFolder[kPathSize];
// "My Documents" on the Windows drive; folders are compared with it.
extern char g_myDocumentsPath[kPathSize];

// Start-up step 1227: the container window, which then creates the list view.
void CreateListContainer(HWND mainWindow);
LRESULT CALLBACK ListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The report-view list, its image list and its columns, inside the container.
void CreateFolderListView(HWND container);
// Lists one folder; changes neither the current directory nor g_currentFolder.
void FillFolderList(const char *folder);
// Command Up One Level.
void GoUpOneLevel();
