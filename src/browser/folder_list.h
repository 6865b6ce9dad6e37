#pragma once
// The folder list of klokan99: a report-view list in a container window of
// its own, showing the subfolders and then the files of the current folder.
// Other commands act on its selected rows; a row's full path is its Name
// joined to g_currentFolder, exactly as the file system gave the name.

#include <windows.h>

#include <string>

#include "main_window.h"

// The folder whose contents the list shows: "C:\" for a drive root, no
// trailing backslash otherwise. The process current directory follows it
// where the system can (not past its path limit); nothing relies on that.
extern std::wstring g_currentFolder;
// "My Documents" on the Windows drive; folders are compared with it.
extern std::wstring g_myDocumentsPath;

// The list control (null until created) and the most rows it ever shows.
extern HWND g_hFolderList;
constexpr int kFolderListRows = 2000;

// Start-up step 1227: the container window, which then creates the list view.
void CreateListContainer(HWND mainWindow);
LRESULT CALLBACK ListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The report-view list, its image list and its columns, inside the container.
void CreateFolderListView(HWND container);
// The columns' widths at g_dpi, the last one to the container's width.
void ScaleFolderListColumns();

// Lists one folder (with or without a trailing backslash): folders first,
// then files, each group sorted; at most kFolderListRows rows, every name as
// the file system gives it. Changes neither the current directory nor
// g_currentFolder. A folder that cannot be searched leaves the list empty.
void FillFolderList(const std::wstring &folder);
// The sort order of two names: the system's locale-aware comparison.
int CompareFolderEntries(const std::wstring &a, const std::wstring &b);

// What the commands ask of the list: rows, selected rows, one row's state.
int FolderListRowCount();
int FolderListSelectedCount();
bool IsRowSelected(int row);

// The full path of a row: its Name joined to g_currentFolder; empty for an
// empty Name.
std::wstring ReadRowFullPath(int row);

// Double click: enters the one selected folder (not the recycle bin).
void EnterSelectedFolder();
// Single click on one selected row: shows its last-write time in the
// date-time lists and copies its attributes into the attribute choice.
void LoadClickedItemState();
// Command Up One Level: to the parent folder; nothing at a drive root. The
// folder it came from is then the selected and focused row.
void GoUpOneLevel();
// F5: the current folder listed afresh; the row that had the keyboard's
// focus keeps it when it is still there.
void RefreshFolderList();
// The row named name gets the keyboard's focus (and the selection when
// select); the first row when no row has that name. Nothing in an empty list.
void FocusFolderRow(const std::wstring &name, bool select);
