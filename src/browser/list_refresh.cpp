#include "list_refresh.h"

#include <windows.h>
#include <commctrl.h>

#include "folder_list.h"
#include "handles.h"
#include "item_access.h"
#include "path_text.h"
#include "local_time.h"
#include "row_texts.h"
#include "target_time.h"

int g_refreshMode = kRefreshModified;

namespace {

void SetRowText(int row, int column, const std::wstring &text)
{
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t *>(text.c_str());
    SendMessageW(g_hFolderList, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

// The entry's own name as its folder lists it now (after Letters, in its new
// letters); empty when the folder no longer holds it.
std::wstring ListedName(const std::wstring &path)
{
    WIN32_FIND_DATAW found = {};
    // The name of a row holds no wildcard: the file system gave it.
    FindHandle search(HasWildcard(NameOf(path)) ? INVALID_HANDLE_VALUE
                                                : FindFirstFileW(SystemPath(path).c_str(), &found));
    return search.Valid() ? std::wstring(found.cFileName) : std::wstring();
}

void RefreshRow(int row)
{
    const std::wstring path = ReadRowFullPath(row);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (path.empty() || !ReadItemData(path, &data)) return;

    if (g_refreshMode == kRefreshModified) {
        char text[kDateTimeTextSize];
        FormatItemTime(data.ftLastWriteTime, TimeRuleForPath(path), text);
        if (text[0]) SetRowText(row, 3, WidenAscii(text));
    } else if (g_refreshMode == kRefreshAttributes) {
        SetRowText(row, 4, FormatAttributeLetters(data.dwFileAttributes));
    } else {
        const std::wstring name = ListedName(path);
        if (!name.empty()) SetRowText(row, 0, name);
    }
}

}  // namespace

void RefreshListColumns()
{
    if (!g_hFolderList) return;
    int rows = static_cast<int>(SendMessageW(g_hFolderList, LVM_GETITEMCOUNT, 0, 0));
    if (rows <= 0 || SendMessageW(g_hFolderList, LVM_GETSELECTEDCOUNT, 0, 0) <= 0) return;
    for (int row = 0; row < rows; ++row) RefreshRow(row);
}
