// Moving through folders from the folder list: entering a subfolder, going up
// one level, and what a single click on a row shows.
#include <windows.h>

#include <commctrl.h>

#include "attributes.h"
#include "date_time_selector.h"
#include "drive_selector.h"
#include "folder_list.h"
#include "item_access.h"
#include "path_text.h"
#include "local_time.h"
#include "row_texts.h"

namespace {

// The one selected row, when the list has rows and exactly one is selected.
int SingleSelectedRow()
{
    if (!g_hFolderList) return -1;
    if (SendMessageW(g_hFolderList, LVM_GETITEMCOUNT, 0, 0) <= 0) return -1;
    if (SendMessageW(g_hFolderList, LVM_GETSELECTEDCOUNT, 0, 0) != 1) return -1;
    return static_cast<int>(SendMessageW(g_hFolderList, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

// The item of the one selected row, read by an exact look-up.
bool ReadSelectedItem(std::wstring &path, WIN32_FILE_ATTRIBUTE_DATA &data)
{
    int row = SingleSelectedRow();
    if (row < 0) return false;
    path = ReadRowFullPath(row);
    return !path.empty() && ReadItemData(path, &data);
}

// Makes folder the current folder of the list. The process follows where
// the system lets it (a path past its limit cannot be the current directory).
void MoveTo(const std::wstring &folder)
{
    g_currentFolder = folder;
    SetCurrentDirectoryW(folder.c_str());
    FillFolderList(g_currentFolder);
}

}  // namespace

int FolderListRowCount()
{
    return g_hFolderList ? static_cast<int>(SendMessageW(g_hFolderList, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int FolderListSelectedCount()
{
    return g_hFolderList
               ? static_cast<int>(SendMessageW(g_hFolderList, LVM_GETSELECTEDCOUNT, 0, 0))
               : 0;
}

bool IsRowSelected(int row)
{
    return g_hFolderList &&
           (SendMessageW(g_hFolderList, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

std::wstring ReadRowFullPath(int row)
{
    if (!g_hFolderList) return std::wstring();
    // A name holds at most 255 characters; the buffer has room to spare.
    wchar_t name[1024] = {};
    LVITEMW item = {};
    item.iSubItem = 0;
    item.pszText = name;
    item.cchTextMax = 1024;
    SendMessageW(g_hFolderList, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    if (!name[0]) return std::wstring();
    return JoinPath(g_currentFolder, name);
}

void EnterSelectedFolder()
{
    std::wstring path;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadSelectedItem(path, data)) return;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    if (IsRecycleBinName(NameOf(path))) return;
    MoveTo(path);
    PushFolderChainItem();
    // The keyboard goes on from the top of the folder it entered.
    FocusFolderRow(std::wstring(), false);
}

void GoUpOneLevel()
{
    // Nothing above a drive's root (or a share's).
    if (g_currentFolder.empty() || g_currentFolder == RootOf(g_currentFolder)) return;
    const std::wstring parent = ParentOf(g_currentFolder);
    if (parent.empty()) return;
    const std::wstring left = NameOf(g_currentFolder);
    MoveTo(parent);
    PopFolderChainItem();
    FocusFolderRow(left, true);
}

void RefreshFolderList()
{
    std::wstring focused;
    const int row = g_hFolderList ? static_cast<int>(SendMessageW(g_hFolderList, LVM_GETNEXTITEM,
                                                                  static_cast<WPARAM>(-1), LVNI_FOCUSED))
                                  : -1;
    if (row >= 0) focused = NameOf(ReadRowFullPath(row));
    FillFolderList(g_currentFolder);
    FocusFolderRow(focused, false);
}

void FocusFolderRow(const std::wstring &name, bool select)
{
    const int rows = FolderListRowCount();
    if (rows <= 0) return;
    int found = 0;
    for (int row = 0; !name.empty() && row < rows; ++row)
        if (NameOf(ReadRowFullPath(row)) == name) {
            found = row;
            break;
        }
    LVITEMW item = {};
    item.stateMask = LVIS_FOCUSED | (select ? LVIS_SELECTED : 0);
    item.state = item.stateMask;
    SendMessageW(g_hFolderList, LVM_SETITEMSTATE, found, reinterpret_cast<LPARAM>(&item));
    SendMessageW(g_hFolderList, LVM_ENSUREVISIBLE, found, FALSE);
}

void LoadClickedItemState()
{
    std::wstring path;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadSelectedItem(path, data)) return;
    SYSTEMTIME local = {};
    if (FileTimeToLocalTime(data.ftLastWriteTime, &local, TimeRuleForPath(path)))
        ShowTimeInLists(local);
    LoadAttributeChoice(data.dwFileAttributes);
}
