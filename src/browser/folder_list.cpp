#include "folder_list.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "handles.h"
#include "item_names.h"
#include "language.h"
#include "list_container.h"
#include "local_time.h"
#include "row_texts.h"
#include "target_time.h"

char g_currentFolder[kPathSize] = {};
char g_myDocumentsPath[kPathSize] = {};
HWND g_hFolderList = nullptr;

namespace {

// The entries of the folder being listed, as full paths. Static so that a
// listing allocates nothing; cleared at the start of every fill.
char g_folderTable[kFolderListRows][kPathSize];
char g_fileTable[kFolderListRows][kPathSize];
int g_folderCount;
int g_fileCount;
// How the stored times of the listed volume are shown.
TimeRule g_listTimeRule = TimeRule::CurrentBias;

HIMAGELIST g_folderImages = nullptr;

struct Column {
    int format;
    int width;            // English, or Japanese before windows kind 6
    int widthJapaneseNew; // Japanese from windows kind 6 on
    const char *english;
    const char *japanese;
};

// The Attributes column takes what is left of the container's width.
constexpr int kRestOfWidth = -1;
constexpr Column kColumns[] = {
    {LVCFMT_LEFT, 210, 206, "Name", "名前"},
    {LVCFMT_RIGHT, 80, 80, "Size (B)", "ｻｲｽﾞ (B)"},
    {LVCFMT_LEFT, 70, 70, "Type", "種類"},
    {LVCFMT_LEFT, 135, 139, "Modified", "更新日時"},
    {LVCFMT_LEFT, kRestOfWidth, kRestOfWidth, "Attributes", "属性"},
};

bool JapaneseNewLayout() { return g_japaneseMode == 1 && g_windowsKind >= 6; }

void InsertColumns(int clientWidth)
{
    for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
        const Column &column = kColumns[i];
        int width = JapaneseNewLayout() ? column.widthJapaneseNew : column.width;
        if (width == kRestOfWidth) width = clientWidth - (JapaneseNewLayout() ? 279 : 275);
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        lvc.fmt = column.format;
        lvc.cx = width;
        lvc.pszText = const_cast<char *>(g_japaneseMode ? column.japanese : column.english);
        lvc.iSubItem = i;
        SendMessageA(g_hFolderList, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&lvc));
    }
}

int CompareRows(const void *a, const void *b)
{
    return CompareFolderEntries(static_cast<const char *>(a), static_cast<const char *>(b));
}

bool IsDotEntry(const char *name) { return !std::strcmp(name, ".") || !std::strcmp(name, ".."); }

// Stores prefix + name as the next entry of a table; a path that does not fit
// an entry is left out rather than cut into another path.
void StoreEntry(char (*table)[kPathSize], int &count, const char *prefix, const char *name)
{
    if (count >= kFolderListRows) return;
    if (JoinPathFits(prefix, name, table[count], kPathSize)) ++count;
}

// Fills both tables from the folder. A full file table does not end the
// search: subfolders found later still get their place.
void CollectEntries(const char *prefix, const char *pattern)
{
    WIN32_FIND_DATAA found = {};
    FindHandle search(FindFirstEntry(pattern, &found));
    if (!search.Valid()) return;
    do {
        bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && IsDotEntry(found.cFileName)) continue;
        // A name the code page cannot spell is stored by its short name; an
        // entry with no name the ANSI calls can reach gets no row.
        const char *name = UsableName(found);
        if (!name) continue;
        if (isFolder) StoreEntry(g_folderTable, g_folderCount, prefix, name);
        else StoreEntry(g_fileTable, g_fileCount, prefix, name);
        if (g_folderCount >= kFolderListRows && g_fileCount >= kFolderListRows) break;
    } while (FindNextEntry(search.Get(), &found));
}

// Appends an icon to the list's images; the row shows whatever index it got,
// so rows and images stay paired even when an icon cannot be added.
int AppendImage(HICON icon)
{
    if (!icon || !g_folderImages) return I_IMAGENONE;
    int index = ImageList_AddIcon(g_folderImages, icon);
    return index < 0 ? I_IMAGENONE : index;
}

// Shell icons of the file types met during one fill, so that a folder of
// many files of one type asks the shell once per type. Types whose every
// file has its own icon are always asked for.
struct TypeIcon {
    char extension[16];
    HICON icon;
};
TypeIcon g_typeIcons[64];
int g_typeIconCount;

bool HasOwnIcons(const char *extension)
{
    for (const char *own : {".exe", ".ico", ".cur", ".ani", ".lnk", ".scr", ".pif", ".url"})
        if (!lstrcmpiA(extension, own)) return true;
    return false;
}

void ForgetTypeIcons()
{
    for (int i = 0; i < g_typeIconCount; ++i) DestroyIcon(g_typeIcons[i].icon);
    std::memset(g_typeIcons, 0, sizeof g_typeIcons);
    g_typeIconCount = 0;
}

// The shell's icon of a file (small, else large); null when it has none.
// The caller destroys it.
HICON ReadShellIcon(const char *path)
{
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) {
        std::memset(&info, 0, sizeof info);
        if (!SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON)) info.hIcon = nullptr;
    }
    return info.hIcon;
}

// The shell's icon of a file, or the program's own when the shell has none.
int AppendFileImage(const char *path)
{
    const char *dot = std::strrchr(path, '.');
    const char *extension = (dot && !std::strchr(dot, '\\')) ? dot : "";
    bool shared = extension[0] && std::strlen(extension) < sizeof g_typeIcons[0].extension &&
                  !HasOwnIcons(extension);
    if (shared) {
        for (int i = 0; i < g_typeIconCount; ++i)
            if (!lstrcmpiA(g_typeIcons[i].extension, extension)) return AppendImage(g_typeIcons[i].icon);
    }
    HICON icon = ReadShellIcon(path);
    if (!icon) return AppendImage(LoadIconA(g_hInstance, "NO_FIL_ICON"));
    int index = AppendImage(icon);
    if (shared && g_typeIconCount < static_cast<int>(sizeof g_typeIcons / sizeof g_typeIcons[0])) {
        std::strcpy(g_typeIcons[g_typeIconCount].extension, extension);
        g_typeIcons[g_typeIconCount++].icon = icon;  // destroyed when the fill ends
    } else {
        DestroyIcon(icon);  // the image list keeps its own copy
    }
    return index;
}

void SetSubitem(int row, int subitem, const char *text)
{
    LVITEMA item = {};
    item.iSubItem = subitem;
    item.pszText = const_cast<char *>(text);
    SendMessageA(g_hFolderList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

int InsertRow(int row, const char *name, int image)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = const_cast<char *>(name);
    item.iImage = image;
    return static_cast<int>(
        SendMessageA(g_hFolderList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

// Builds the row of one stored entry. The entry is read again by its path,
// without wildcard expansion, so the row describes exactly the item it names;
// an entry that vanished since the search gets no row.
bool AddRow(int row, const char *path, size_t prefixLength, bool isFolder)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    const char *name = path + prefixLength;

    char modified[kDateTimeTextSize];
    FormatItemTime(data.ftLastWriteTime, g_listTimeRule, modified);
    char attributes[kAttributeTextSize];
    FormatAttributeLetters(data.dwFileAttributes, attributes);

    int image;
    if (isFolder) {
        bool documents = SameNameIgnoringCase(path, g_myDocumentsPath);
        image = AppendImage(LoadIconA(
            g_hInstance, FolderIconResource(ChooseFolderIcon(name, documents, g_windowsKind))));
    } else {
        image = AppendFileImage(path);
    }
    int inserted = InsertRow(row, name, image);
    if (inserted < 0) return false;
    if (isFolder) {
        SetSubitem(inserted, 2, FolderTypeText(name, g_japaneseMode));
    } else {
        char size[kSizeTextSize];
        FormatSizeText((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                           data.nFileSizeLow,
                       size);
        SetSubitem(inserted, 1, size);
    }
    SetSubitem(inserted, 3, modified);
    SetSubitem(inserted, 4, attributes);
    return true;
}

constexpr int kRowsPerRedraw = 100;

// Lets the rows inserted so far show, then holds drawing back again.
void ShowRowsSoFar(HWND container)
{
    SendMessageA(g_hFolderList, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(container);
    UpdateWindow(g_hFolderList);
    SendMessageA(g_hFolderList, WM_SETREDRAW, FALSE, 0);
}

void EmptyList(HWND container)
{
    SendMessageA(g_hFolderList, LVM_DELETEALLITEMS, 0, 0);
    if (g_folderImages) ImageList_Remove(g_folderImages, -1);
    RECT band = {0, 105, 570, 321 - GetSystemMetrics(SM_CYCAPTION)};
    InvalidateRect(container, &band, FALSE);
}

void OnContainerNotify(const NMHDR &header)
{
    if (header.hwndFrom != g_hFolderList) return;
    if (header.code == NM_DBLCLK) EnterSelectedFolder();
    else if (header.code == NM_CLICK) LoadClickedItemState();
}

void OnContainerPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void OnContainerDestroy()
{
    if (g_hFolderList) {
        auto images = reinterpret_cast<HIMAGELIST>(
            SendMessageA(g_hFolderList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        // Taken back from the list first: a list view that still held it
        // would destroy it a second time when it goes itself.
        SendMessageA(g_hFolderList, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        if (images) ImageList_Destroy(images);
    }
    g_folderImages = nullptr;
    g_hFolderList = nullptr;
}

}  // namespace

void CreateListContainer(HWND mainWindow)
{
    CreateContainerWindow(mainWindow, ListContainerProc, 0);
}

LRESULT CALLBACK ListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        // The list view is made on a later pass of the loop, once the container exists.
        PostMessageA(window, kMsgCreateListView, 0, 0);
        return 0;
    case kMsgCreateListView:
        CreateFolderListView(window);
        PostMessageA(GetParent(window), kMsgListReady, 0, 0);
        return 0;
    case WM_NOTIFY: OnContainerNotify(*reinterpret_cast<const NMHDR *>(lParam)); return 0;
    case WM_PAINT: OnContainerPaint(window); return 0;
    case WM_DESTROY: OnContainerDestroy(); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void CreateFolderListView(HWND container)
{
    RECT client = {};
    GetClientRect(container, &client);
    g_folderImages = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, kFolderListRows, 0);
    g_hFolderList = CreateWindowExA(0, WC_LISTVIEWA, "",
                                    WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 1,
                                    client.right, client.bottom - 1, container, nullptr,
                                    g_hInstance, nullptr);
    if (!g_hFolderList || !g_folderImages) {
        if (g_folderImages) ImageList_Destroy(g_folderImages);
        g_folderImages = nullptr;
        if (g_hFolderList) DestroyWindow(g_hFolderList);
        g_hFolderList = nullptr;
        PostMessageA(GetParent(container), WM_CLOSE, 0, 0);
        return;
    }
    ShowWindow(g_hFolderList, SW_SHOW);
    UpdateWindow(g_hFolderList);
    SendMessageA(g_hFolderList, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(g_hFolderList, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(g_folderImages));
    InsertColumns(client.right);
}

int CompareFolderEntries(const char *a, const char *b) { return lstrcmpA(a, b); }

void FillFolderList(const char *folder)
{
    if (!g_hFolderList) return;
    HWND container = GetParent(g_hFolderList);

    // Every stored path starts with the folder and one backslash (C:\ stays C:\).
    char prefix[kPathSize] = {};
    char pattern[kPathSize] = {};
    // By characters: in code page 932 a name can end in a byte 0x5C.
    bool needsSlash = !EndsWithBackslash(folder, IsProcessLeadByte);
    bool usable = JoinPathFits(folder, needsSlash ? "\\" : "", prefix, kPathSize) &&
                  JoinPathFits(prefix, "*.*", pattern, kPathSize);

    std::memset(g_folderTable, 0, sizeof g_folderTable);
    std::memset(g_fileTable, 0, sizeof g_fileTable);
    g_folderCount = 0;
    g_fileCount = 0;
    if (usable) CollectEntries(prefix, pattern);
    // Every row lies on the folder's volume, so one rule serves the whole fill.
    g_listTimeRule = TimeRuleForPath(prefix);

    std::qsort(g_folderTable, g_folderCount, kPathSize, CompareRows);
    std::qsort(g_fileTable, g_fileCount, kPathSize, CompareRows);

    EmptyList(container);
    size_t prefixLength = std::strlen(prefix);
    // Drawing the list after every inserted row would cost more than the row
    // itself; it is drawn row by row while the first page fills, then in steps.
    SendMessageA(g_hFolderList, WM_SETREDRAW, FALSE, 0);
    int page = static_cast<int>(SendMessageA(g_hFolderList, LVM_GETCOUNTPERPAGE, 0, 0));
    int rows = 0;
    auto addRow = [&](const char *path, bool isFolder) {
        if (!AddRow(rows, path, prefixLength, isFolder)) return;
        ++rows;
        if (rows <= page + 1 || rows % kRowsPerRedraw == 0) ShowRowsSoFar(container);
    };
    for (int i = 0; i < g_folderCount; ++i) addRow(g_folderTable[i], true);
    for (int j = 0; j < g_fileCount && rows < kFolderListRows; ++j) addRow(g_fileTable[j], false);
    ForgetTypeIcons();
    SendMessageA(g_hFolderList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_hFolderList, nullptr, TRUE);
    UpdateWindow(container);
    UpdateWindow(g_hFolderList);
}
