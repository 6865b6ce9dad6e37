#include "list_refresh.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "folder_list.h"
#include "handles.h"
#include "item_names.h"
#include "local_time.h"
#include "row_texts.h"
#include "target_time.h"

int g_refreshMode = kRefreshModified;

namespace {

void SetRowText(int row, int column, const char *text)
{
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char *>(text);
    SendMessageA(g_hFolderList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void RefreshRow(int row)
{
    char path[kPathSize];
    if (!ReadRowFullPath(row, path)) return;
    WIN32_FIND_DATAA found = {};
    FindHandle search(FindFirstEntry(path, &found));
    if (!search.Valid()) return;

    if (g_refreshMode == kRefreshModified) {
        char text[kDateTimeTextSize];
        FormatItemTime(found.ftLastWriteTime, TimeRuleForPath(path), text);
        if (text[0]) SetRowText(row, 3, text);
    } else if (g_refreshMode == kRefreshAttributes) {
        char letters[kAttributeTextSize];
        FormatAttributeLetters(found.dwFileAttributes, letters);
        SetRowText(row, 4, letters);
    } else {
        // The row keeps a name the ANSI calls can reach: a name the code page
        // cannot spell stays written by its short name.
        const char *name = UsableName(found);
        if (name) SetRowText(row, 0, name);
    }
}

}  // namespace

void RefreshListColumns()
{
    if (!g_hFolderList) return;
    int rows = static_cast<int>(SendMessageA(g_hFolderList, LVM_GETITEMCOUNT, 0, 0));
    if (rows <= 0 || SendMessageA(g_hFolderList, LVM_GETSELECTEDCOUNT, 0, 0) <= 0) return;
    for (int row = 0; row < rows; ++row) RefreshRow(row);
}
