// The list view of the drop list: its columns, its rows and the time of row 0.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "display_scale.h"
#include "drop_list.h"
#include "handles.h"
#include "item_access.h"
#include "path_text.h"
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
    const wchar_t *english;
    const wchar_t *japanese;
    int format;
    int width;  // 0: what the container leaves after the other columns
};

constexpr ColumnSpec kColumns[kDropColumnCount] = {
    {L"Name", L"名前", LVCFMT_LEFT, 130},
    {L"Path", L"ﾊﾟｽ", LVCFMT_LEFT, 155},
    {L"Size (B)", L"ｻｲｽﾞ (B)", LVCFMT_RIGHT, 80},
    {L"Type", L"種類", LVCFMT_LEFT, 65},
    {L"Modified", L"更新日時", LVCFMT_LEFT, 0},
};
constexpr int kFixedColumnsWidth = 430;
// A name holds at most 255 characters; a folder's path is read back whole
// when it is longer than this first guess.
constexpr int kFirstReadChars = 1024;

void SetSubitemText(int row, int column, const std::wstring &text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t *>(text.c_str());
    SendMessageW(g_hDropListView, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

// The text of one cell, whatever its length.
std::wstring ReadCell(int row, int column)
{
    for (int size = kFirstReadChars;; size *= 2) {
        std::wstring text(static_cast<std::size_t>(size), L'\0');
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = &text[0];
        item.cchTextMax = size;
        const int length = static_cast<int>(
            SendMessageW(g_hDropListView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (length < size - 1 || size >= 65536) {
            text.resize(static_cast<std::size_t>(length < 0 ? 0 : length));
            return text;
        }
    }
}

// The row's image: index in the image list, or no image when no icon could be had.
int AddRowIcon(bool folder, const std::wstring &fullPath)
{
    HINSTANCE self = GetModuleHandleW(nullptr);
    HICON icon = nullptr;
    bool owned = false;
    if (!folder) {
        SHFILEINFOW info = {};
        if (SHGetFileInfoW(fullPath.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) {
            icon = info.hIcon;
        } else {
            info = {};
            if (SHGetFileInfoW(fullPath.c_str(), 0, &info, sizeof info, SHGFI_ICON)) icon = info.hIcon;
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
    g_hDropListView = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 1,
                                      client.right, client.bottom - 1, container, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    if (!g_hDropListView || !g_hDropListImages) {
        PostMessageW(GetParent(container), WM_CLOSE, 0, 0);
        return;
    }
    ShowWindow(g_hDropListView, SW_SHOW);
    UpdateWindow(g_hDropListView);
    SendMessageW(g_hDropListView, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageW(g_hDropListView, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(g_hDropListImages));
    for (int i = 0; i < kDropColumnCount; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = kColumns[i].format;
        column.cx = kColumns[i].width ? Scale(kColumns[i].width) : client.right - Scale(kFixedColumnsWidth);
        column.pszText = const_cast<wchar_t *>(g_japaneseMode ? kColumns[i].japanese : kColumns[i].english);
        column.iSubItem = i;
        SendMessageW(g_hDropListView, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void ScaleDropListColumns()
{
    if (!g_hDropListView) return;
    RECT client = {};
    GetClientRect(GetParent(g_hDropListView), &client);
    for (int i = 0; i < kDropColumnCount; ++i)
        SendMessageW(g_hDropListView, LVM_SETCOLUMNWIDTH, i,
                     kColumns[i].width ? Scale(kColumns[i].width) : client.right - Scale(kFixedColumnsWidth));
}

bool AddDropListItem(const std::wstring &path, NotChanged *why)
{
    NotChanged ignored;
    NotChanged &reason = why ? *why : ignored;
    reason = NotChanged::Refused;
    if (!g_hDropListView || g_dropListCount >= kDropListMaxRows) return false;
    // A dropped path names one item; a search pattern could name others.
    std::wstring folder, name;
    if (HasWildcard(path) || !SplitDroppedPath(path, folder, name)) {
        reason = NotChanged::UnreachableName;
        return false;
    }

    // An exact look-up: the row shows the item the shell named, by that name.
    const std::wstring full = JoinRowPath(folder, name);
    WIN32_FILE_ATTRIBUTE_DATA found = {};
    if (!ReadItemData(full, &found)) {
        reason = ReasonOfError(GetLastError());
        return false;
    }

    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    char modified[kDateTimeTextSize];
    FormatItemTime(found.ftLastWriteTime, TimeRuleForPath(full), modified);

    const int image = AddRowIcon(isFolder, full);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = g_dropListCount;
    item.pszText = const_cast<wchar_t *>(name.c_str());
    item.iImage = image;
    const int row = static_cast<int>(
        SendMessageW(g_hDropListView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0) {
        if (image >= 0) ImageList_Remove(g_hDropListImages, image);
        return false;
    }
    SetSubitemText(row, kColPath, folder);
    if (isFolder)
        SetSubitemText(row, kColType, FolderTypeText());
    else
        SetSubitemText(row, kColSize,
                       FormatSizeText((static_cast<unsigned long long>(found.nFileSizeHigh) << 32) |
                                      found.nFileSizeLow));
    SetSubitemText(row, kColModified, WidenAscii(modified));
    ++g_dropListCount;
    return true;
}

std::wstring ReadDropRowPath(int row)
{
    const std::wstring name = ReadCell(row, kColName);
    const std::wstring folder = ReadCell(row, kColPath);
    if (name.empty() || folder.empty()) return std::wstring();
    return JoinRowPath(folder, name);
}

void LoadFirstItemTime()
{
    if (!g_hDropListView) return;
    const std::wstring full = ReadDropRowPath(0);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (full.empty() || !ReadItemData(full, &data)) return;
    SYSTEMTIME local = {};
    if (FileTimeToLocalTime(data.ftLastWriteTime, &local, TimeRuleForPath(full)))
        ShowTimeInLists(local);
}

void ClearDropList()
{
    if (g_hDropListView) SendMessageW(g_hDropListView, LVM_DELETEALLITEMS, 0, 0);
    if (g_hDropListImages) ImageList_RemoveAll(g_hDropListImages);
    g_dropListCount = 0;
}
