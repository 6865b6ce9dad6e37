// Delete Files and Delete All of the drop list.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "drop_list.h"
#include "date_time_selector.h"
#include "local_time.h"
#include "icon_bar.h"
#include "main_window.h"
#include "drop_path_table.h"
#include "messages.h"

namespace {

HCURSOR g_dropSavedCursor = nullptr;
// 1 between the marking of Delete Files and its rebuild; a second rebuild
// message, or one after Delete All, then finds nothing to do.
int g_dropRebuildPending = 0;

int DropListRows()
{
    return g_hDropListView ? static_cast<int>(SendMessageW(g_hDropListView, LVM_GETITEMCOUNT, 0, 0))
                           : 0;
}

void EmptyDropList()
{
    ClearDropList();
    ShowRememberedTime();
    g_dropListHasItems = 0;
    g_dropListCount = 0;
    UpdateDropButtons(g_dropListHasItems);
}

}  // namespace

void DeleteSelectedItems(HWND mainWindow)
{
    if (g_dropListHasItems != 1 || DropListRows() <= 0) return;
    if (ShowMessage(mainWindow, Msg::DeleteSelectedQuestion) != IDYES) return;
    g_dropSavedCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    ClearDropPathTable();
    int rows = DropListRows();
    if (rows > kDropListMaxRows) rows = kDropListMaxRows;
    for (int i = 0; i < rows; ++i) SetDropPathEntry(i, ReadDropRowPath(i));
    g_dropMarkedRows = rows;
    for (int r = rows - 1; r >= 0; --r) {
        const UINT state = static_cast<UINT>(
            SendMessageW(g_hDropListView, LVM_GETITEMSTATE, r, LVIS_SELECTED));
        if (state & LVIS_SELECTED) RemoveDropPathEntry(r, rows);
    }
    // The list is rebuilt from the kept paths on the posted message.
    g_dropRebuildPending = 1;
    PostMessageW(mainWindow, kMsgListReady, 0, 0);
}

void RebuildDropList()
{
    if (!g_dropRebuildPending) return;
    g_dropRebuildPending = 0;

    // Rows dropped in after the marking are kept behind the marked ones.
    int kept = KeptDropPathCount();
    const int rows = DropListRows();
    for (int r = g_dropMarkedRows; r < rows && kept < kDropListMaxRows; ++r) {
        const std::wstring full = ReadDropRowPath(r);
        if (!full.empty() && SetDropPathEntry(kept, full)) ++kept;
    }

    ClearDropList();
    const std::vector<std::wstring> keptPaths(g_dropPathTable.begin(), g_dropPathTable.begin() + kept);
    for (const std::wstring &path : keptPaths) AddDropListItem(path);
    // Kept rows whose items vanished are gone now; a list left without rows is empty.
    if (DropListRows() == 0)
        EmptyDropList();
    else
        LoadFirstItemTime();
    if (GetCursor() != g_dropSavedCursor) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void DeleteAllItems(HWND mainWindow)
{
    if (g_dropListHasItems != 1 || DropListRows() <= 0) return;
    if (ShowMessage(mainWindow, Msg::DeleteAllQuestion) != IDYES) return;
    g_dropRebuildPending = 0;
    EmptyDropList();
}
