#pragma once
// The drop list of klokan98: a report-view list in a container window that
// accepts files dropped from the shell. Each row is one dropped file or
// folder; the timestamp run works on all rows.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "drop_row.h"
#include "run_report.h"
#include "target_time.h"

// Columns (index = subitem).
enum DropColumn { kColName, kColPath, kColSize, kColType, kColModified, kDropColumnCount };

// Rows added since the list was last emptied; also the index of the next row.
extern int g_dropListCount;
// 1 once a drop was handled; 0 again when the list is emptied.
extern int g_dropListHasItems;
extern HWND g_hDropListContainer;
extern HWND g_hDropListView;
extern HIMAGELIST g_hDropListImages;

// The container window on the main window (start-up step 1227).
void CreateDropListContainer(HWND mainWindow);
LRESULT CALLBACK DropListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The list view with its image list and five columns; closes the program when either is missing.
void CreateDropListView(HWND container);
// The columns' widths at g_dpi, the last one to the container's width.
void ScaleDropListColumns();

// Adds one row for an existing item (a full path in normal form, its names
// exactly as the shell gave them); false, with *why when given, for a path
// that cannot be listed, and false when the list is full.
bool AddDropListItem(const std::wstring &path, NotChanged *why = nullptr);
void OnDropFiles(HWND container, HDROP drop);
// Shows row 0's last-write time in the date-time lists.
void LoadFirstItemTime();

// The full path of a row (Path and Name joined); empty when it cannot be read.
std::wstring ReadDropRowPath(int row);
// Removes every row and image and resets the count.
void ClearDropList();

// Bar commands and the rebuild after Delete Files.
void DeleteSelectedItems(HWND mainWindow);
void RebuildDropList();
void DeleteAllItems(HWND mainWindow);
