// Moving through folders from the folder list: entering a subfolder, going up
// one level, and what a single click on a row shows.
#include <windows.h>

#include <commctrl.h>
#include <direct.h>

#include <cstring>

#include "attributes.h"
#include "date_time_selector.h"
#include "drive_selector.h"
#include "folder_list.h"
#include "item_names.h"
#include "local_time.h"
#include "row_texts.h"

namespace {

// The one selected row, when the list has rows and exactly one is selected.
int SingleSelectedRow()
{
    if (!g_hFolderList) return -1;
    if (SendMessageA(g_hFolderList, LVM_GETITEMCOUNT, 0, 0) <= 0) return -1;
    if (SendMessageA(g_hFolderList, LVM_GETSELECTEDCOUNT, 0, 0) != 1) return -1;
    return static_cast<int>(SendMessageA(g_hFolderList, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

// The item of the one selected row, read without wildcard expansion.
bool ReadSelectedItem(char (&path)[kPathSize], WIN32_FILE_ATTRIBUTE_DATA &data)
{
    int row = SingleSelectedRow();
    if (row < 0 || !ReadRowFullPath(row, path)) return false;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) != 0;
}

}  // namespace

int FolderListRowCount()
{
    return g_hFolderList ? static_cast<int>(SendMessageA(g_hFolderList, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int FolderListSelectedCount()
{
    return g_hFolderList
               ? static_cast<int>(SendMessageA(g_hFolderList, LVM_GETSELECTEDCOUNT, 0, 0))
               : 0;
}

bool IsRowSelected(int row)
{
    return g_hFolderList &&
           (SendMessageA(g_hFolderList, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

bool ReadRowFullPath(int row, char (&path)[kPathSize])
{
    std::memset(path, 0, sizeof path);
    if (!g_hFolderList) return false;
    char name[kPathSize] = {};
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = name;
    item.cchTextMax = kPathSize - 2;
    SendMessageA(g_hFolderList, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    // Rows hold names without wildcards; anything else could reach another item.
    if (!name[0] || HasWildcard(name)) return false;
    DWORD length = GetFullPathNameA(name, kPathSize, path, nullptr);
    if (length == 0 || length >= static_cast<DWORD>(kPathSize)) {
        std::memset(path, 0, sizeof path);
        return false;
    }
    return true;
}

void EnterSelectedFolder()
{
    char path[kPathSize];
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadSelectedItem(path, data)) return;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    const int slash = LastSeparator(path, IsProcessLeadByte);
    if (IsRecycleBinName(slash >= 0 ? path + slash + 1 : path)) return;
    // The current directory and g_currentFolder move together or not at all.
    if (!SetCurrentDirectoryA(path)) return;
    std::memcpy(g_currentFolder, path, sizeof g_currentFolder);
    FillFolderList(g_currentFolder);
    PushFolderChainItem();
}

void GoUpOneLevel()
{
    char current[kPathSize] = {};
    DWORD length = GetCurrentDirectoryA(kPathSize - 2, current);
    if (length < 4 || length >= static_cast<DWORD>(kPathSize - 2)) return;
    // The run-time library's change also records the drive's current
    // directory in the process environment.
    if (_chdir("..") != 0) return;
    char parent[kPathSize] = {};
    length = GetCurrentDirectoryA(kPathSize - 2, parent);
    if (length == 0 || length >= static_cast<DWORD>(kPathSize - 2)) return;
    std::memcpy(g_currentFolder, parent, sizeof g_currentFolder);
    FillFolderList(g_currentFolder);
    PopFolderChainItem();
}

void LoadClickedItemState()
{
    char path[kPathSize];
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadSelectedItem(path, data)) return;
    SYSTEMTIME local = {};
    if (FileTimeToLocalTime(data.ftLastWriteTime, &local, TimeRuleForPath(path)))
        ShowTimeInLists(local);
    LoadAttributeChoice(data.dwFileAttributes);
}
