// The list view of the drop list: its columns, its rows and the time of row 0.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstring>

#include "drop_list.h"
#include "handles.h"
#include "item_names.h"
#include "date_time_selector.h"
#include "local_time.h"
#include "icon_bar.h"
#include "main_window.h"
#include "language.h"

int g_dropListCount = 0;
int g_dropListHasItems = 0;
HWND g_hDropListView = nullptr;
HIMAGELIST g_hDropListImages = nullptr;

namespace {

struct ColumnSpec {
    const char *english;
    const char *japanese;
    int format;
    int width;  // 0: what the container leaves after the other columns
};

constexpr ColumnSpec kColumns[kDropColumnCount] = {
    {"Name", "名前", LVCFMT_LEFT, 130},
    {"Path", "ﾊﾟｽ", LVCFMT_LEFT, 155},
    {"Size (B)", "ｻｲｽﾞ (B)", LVCFMT_RIGHT, 80},
    {"Type", "種類", LVCFMT_LEFT, 65},
    {"Modified", "更新日時", LVCFMT_LEFT, 0},
};
constexpr int kFixedColumnsWidth = 430;

void SetSubitemText(int row, int column, const char *text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char *>(text);
    SendMessageA(g_hDropListView, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

// The row's image: index in the image list, or no image when no icon could be had.
int AddRowIcon(bool folder, const char *fullPath)
{
    HINSTANCE self = GetModuleHandleA(nullptr);
    HICON icon = nullptr;
    bool owned = false;
    if (!folder) {
        SHFILEINFOA info = {};
        if (SHGetFileInfoA(fullPath, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) {
            icon = info.hIcon;
        } else {
            std::memset(&info, 0, sizeof info);
            if (SHGetFileInfoA(fullPath, 0, &info, sizeof info, SHGFI_ICON)) icon = info.hIcon;
        }
        owned = icon != nullptr;
        if (!icon) icon = LoadIconA(self, "NO_FIL_ICON");
    } else {
        icon = LoadIconA(self, "FLD_ICON");
    }
    // Without any icon of its own the row still gets an image of its own index.
    if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
    int index = icon ? ImageList_AddIcon(g_hDropListImages, icon) : -1;
    // The image list keeps its own copy; a shell icon is ours to release.
    if (owned) DestroyIcon(icon);
    return index >= 0 ? index : I_IMAGENONE;
}

}  // namespace

void CreateDropListView(HWND container)
{
    RECT client = {};
    GetClientRect(container, &client);
    InitCommonControls();
    g_hDropListImages = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, kDropListMaxRows, 0);
    g_hDropListView = CreateWindowExA(0, WC_LISTVIEWA, "",
                                      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 1,
                                      client.right, client.bottom - 1, container, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    if (!g_hDropListView || !g_hDropListImages) {
        PostMessageA(GetParent(container), WM_CLOSE, 0, 0);
        return;
    }
    ShowWindow(g_hDropListView, SW_SHOW);
    UpdateWindow(g_hDropListView);
    SendMessageA(g_hDropListView, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(g_hDropListView, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(g_hDropListImages));
    for (int i = 0; i < kDropColumnCount; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = kColumns[i].width ? kColumns[i].width : client.right - kFixedColumnsWidth;
        column.pszText = const_cast<char *>(g_japaneseMode ? kColumns[i].japanese : kColumns[i].english);
        column.iSubItem = i;
        SendMessageA(g_hDropListView, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void AddDropListItem(const char *path)
{
    if (!g_hDropListView || g_dropListCount >= kDropListMaxRows) return;
    // A path the list could not hold whole, or one a search would expand, is not looked up.
    if (std::strlen(path) >= static_cast<size_t>(kListTextChars) || HasWildcard(path)) return;
    char folder[kDropPathSize], droppedName[kDropPathSize];
    if (!SplitDroppedPath(path, folder, droppedName, IsProcessLeadByte)) return;

    WIN32_FIND_DATAA found = {};
    FindHandle search(FindFirstEntry(path, &found));
    if (!search.Valid()) return;

    // The folder comes from the dropped path itself, so a name the file system
    // spells differently (a long name for a dropped short one) still sits in
    // the folder that was dropped from. A found name the code page cannot
    // spell would not lead back to the item: the dropped name is kept then.
    const char *name = HasWildcard(found.cFileName) ? droppedName : found.cFileName;
    char full[kDropPathSize];
    // Every row's full path fits the path table, so Delete Files never cuts one.
    if (std::strlen(name) >= static_cast<size_t>(kListTextChars) ||
        !JoinRowPath(folder, name, full, IsProcessLeadByte))
        return;

    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    char sizeText[kSizeTextSize] = {};
    if (!isFolder)
        FormatSizeText((static_cast<unsigned long long>(found.nFileSizeHigh) << 32) |
                           found.nFileSizeLow,
                       sizeText);
    char modified[kDateTimeTextSize];
    FormatItemTime(found.ftLastWriteTime, TimeRuleForPath(full), modified);

    const int image = AddRowIcon(isFolder, full);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = g_dropListCount;
    item.pszText = const_cast<char *>(name);
    item.iImage = image;
    const int row = static_cast<int>(
        SendMessageA(g_hDropListView, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) {
        if (image >= 0) ImageList_Remove(g_hDropListImages, image);
        return;
    }
    SetSubitemText(row, kColPath, folder);
    if (isFolder)
        SetSubitemText(row, kColType, FolderTypeText());
    else
        SetSubitemText(row, kColSize, sizeText);
    SetSubitemText(row, kColModified, modified);
    ++g_dropListCount;
}

bool ReadDropRowPath(int row, char (&full)[kDropPathSize])
{
    std::memset(full, 0, sizeof full);
    char name[kDropPathSize] = {}, folder[kDropPathSize] = {};
    LVITEMA item = {};
    item.iSubItem = kColName;
    item.pszText = name;
    item.cchTextMax = kListTextChars;
    SendMessageA(g_hDropListView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    item.iSubItem = kColPath;
    item.pszText = folder;
    SendMessageA(g_hDropListView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    if (name[0] == '\0' || folder[0] == '\0') return false;
    return JoinRowPath(folder, name, full, IsProcessLeadByte);
}

void LoadFirstItemTime()
{
    char full[kDropPathSize];
    if (!g_hDropListView || !ReadDropRowPath(0, full) || HasWildcard(full)) return;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(full, GetFileExInfoStandard, &data)) return;
    SYSTEMTIME local = {};
    if (FileTimeToLocalTime(data.ftLastWriteTime, &local, TimeRuleForPath(full)))
        ShowTimeInLists(local);
}

void ClearDropList()
{
    if (g_hDropListView) SendMessageA(g_hDropListView, LVM_DELETEALLITEMS, 0, 0);
    if (g_hDropListImages) ImageList_RemoveAll(g_hDropListImages);
    g_dropListCount = 0;
}
