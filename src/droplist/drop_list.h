#pragma once
// The drop list of klokan98: files and folders dragged in from the shell.

#include <windows.h>

// 1 while the list has rows; the bar's Delete Files, Delete All and Change
// Timestamp buttons follow it.
extern int g_dropListHasItems;
extern int g_dropListCount;

// Start-up step 1227: the container window, which then creates the list view.
void CreateDropListContainer(HWND mainWindow);
LRESULT CALLBACK DropListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CreateDropListView(HWND container);
// Private message 1228, posted after Delete Files was confirmed.
void RebuildDropList();
// Command Delete Files.
void DeleteSelectedItems(HWND mainWindow);
// Command Delete All.
void DeleteAllItems(HWND mainWindow);
