#include "folder_list.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "display_scale.h"
#include "handles.h"
#include "item_access.h"
#include "language.h"
#include "keyboard.h"
#include "list_container.h"
#include "path_text.h"
#include "local_time.h"
#include "row_texts.h"
#include "target_time.h"

std::wstring g_currentFolder;
std::wstring g_myDocumentsPath;
HWND g_hFolderList = nullptr;

namespace {

// The names of the folders and files of the folder being listed, each as the
// file system gives it, at most kFolderListRows of each.
std::vector<std::wstring> g_folderTable;
std::vector<std::wstring> g_fileTable;
// How the stored times of the listed volume are shown.
TimeRule g_listTimeRule = TimeRule::CurrentBias;

HIMAGELIST g_folderImages = nullptr;

struct Column {
    int format;
    int width;            // English, or Japanese before windows kind 6
    int widthJapaneseNew; // Japanese from windows kind 6 on
    const wchar_t *english;
    const wchar_t *japanese;
};

// The Attributes column takes what is left of the container's width.
constexpr int kRestOfWidth = -1;
constexpr Column kColumns[] = {
    {LVCFMT_LEFT, 210, 206, L"Name", L"名前"},
    {LVCFMT_RIGHT, 80, 80, L"Size (B)", L"ｻｲｽﾞ (B)"},
    {LVCFMT_LEFT, 70, 70, L"Type", L"種類"},
    {LVCFMT_LEFT, 135, 139, L"Modified", L"更新日時"},
    {LVCFMT_LEFT, kRestOfWidth, kRestOfWidth, L"Attributes", L"属性"},
};

bool JapaneseNewLayout() { return g_japaneseMode == 1 && g_windowsKind >= 6; }

int ColumnWidth(const Column &column, int clientWidth)
{
    const int width = JapaneseNewLayout() ? column.widthJapaneseNew : column.width;
    return width == kRestOfWidth ? clientWidth - Scale(JapaneseNewLayout() ? 279 : 275) : Scale(width);
}

void InsertColumns(int clientWidth)
{
    for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i) {
        const Column &column = kColumns[i];
        const int width = ColumnWidth(column, clientWidth);
        LVCOLUMNW lvc = {};
        lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        lvc.fmt = column.format;
        lvc.cx = width;
        lvc.pszText = const_cast<wchar_t *>(g_japaneseMode ? column.japanese : column.english);
        lvc.iSubItem = i;
        SendMessageW(g_hFolderList, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&lvc));
    }
}

// Fills both tables from the folder. A full file table does not end the
// search: subfolders found later still get their place.
void CollectEntries(const std::wstring &folder)
{
    WIN32_FIND_DATAW found = {};
    FindHandle search(FindFirstFileW(JoinPath(SystemPath(folder), L"*").c_str(), &found));
    if (!search.Valid()) return;
    do {
        const std::wstring name = found.cFileName;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && (name == L"." || name == L"..")) continue;
        std::vector<std::wstring> &table = isFolder ? g_folderTable : g_fileTable;
        if (table.size() < static_cast<std::size_t>(kFolderListRows)) table.push_back(name);
        if (g_folderTable.size() >= static_cast<std::size_t>(kFolderListRows) &&
            g_fileTable.size() >= static_cast<std::size_t>(kFolderListRows))
            break;
    } while (FindNextFileW(search.Get(), &found));
}

// Appends an icon to the list's images; the row shows whatever index it got,
// so rows and images stay paired even when an icon cannot be added.
int AppendImage(HICON icon)
{
    if (!icon || !g_folderImages) return I_IMAGENONE;
    int index = ImageList_AddIcon(g_folderImages, icon);
    return index < 0 ? I_IMAGENONE : index;
}

// The images of the list. Each distinct icon is added once, and every row
// that shows it, in this fill or a later one, points at the same index:
// adding an image costs more than the rest of a row. The shell is asked once
// per file type, except for the types whose every file has an icon of its
// own, which are told apart by the shell's own icon index.
struct ListImages {
    std::map<FolderIcon, int> folders;
    std::map<std::wstring, int> types;   // by extension, in small letters
    std::map<int, int> shellIcons;       // by the shell's icon index
    std::optional<int> noIcon;
};
ListImages g_listImages;

void ForgetListImages()
{
    g_listImages = ListImages();
}

bool HasOwnIcons(const std::wstring &extension)
{
    for (const wchar_t *own : {L".exe", L".ico", L".cur", L".ani", L".lnk", L".scr", L".pif", L".url"})
        if (SameNameIgnoringCase(extension, own)) return true;
    return false;
}

int FolderImage(FolderIcon icon)
{
    const auto known = g_listImages.folders.find(icon);
    if (known != g_listImages.folders.end()) return known->second;
    const int index = AppendImage(LoadIconA(g_hInstance, FolderIconResource(icon)));
    g_listImages.folders.emplace(icon, index);
    return index;
}

// The program's own icon for a file the shell gives none.
int NoIconImage()
{
    if (!g_listImages.noIcon)
        g_listImages.noIcon = AppendImage(LoadIconA(g_hInstance, "NO_FIL_ICON"));
    return *g_listImages.noIcon;
}

// The shell's icon of a file (small, else large), added once per shell icon.
int ShellImage(const std::wstring &path)
{
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) {
        info = {};
        if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON)) info.hIcon = nullptr;
    }
    if (!info.hIcon) return NoIconImage();
    const auto known = g_listImages.shellIcons.find(info.iIcon);
    int index;
    if (known != g_listImages.shellIcons.end()) {
        index = known->second;
    } else {
        index = AppendImage(info.hIcon);
        g_listImages.shellIcons.emplace(info.iIcon, index);
    }
    DestroyIcon(info.hIcon);  // the image list keeps its own copy
    return index;
}

int FileImage(const std::wstring &path)
{
    const std::wstring name = NameOf(path);
    const std::size_t dot = name.find_last_of(L'.');
    std::wstring extension = dot == std::wstring::npos ? std::wstring() : name.substr(dot);
    if (extension.empty() || HasOwnIcons(extension)) return ShellImage(path);
    CharLowerBuffW(&extension[0], static_cast<DWORD>(extension.size()));
    const auto known = g_listImages.types.find(extension);
    if (known != g_listImages.types.end()) return known->second;
    const int index = ShellImage(path);
    g_listImages.types.emplace(extension, index);
    return index;
}

void SetSubitem(int row, int subitem, const std::wstring &text)
{
    LVITEMW item = {};
    item.iSubItem = subitem;
    item.pszText = const_cast<wchar_t *>(text.c_str());
    SendMessageW(g_hFolderList, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

int InsertRow(int row, const std::wstring &name, int image)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = const_cast<wchar_t *>(name.c_str());
    item.iImage = image;
    return static_cast<int>(
        SendMessageW(g_hFolderList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

// Builds the row of one entry. The entry is read again by its path, an exact
// look-up, so the row describes exactly the item it names; an entry that
// vanished since the search gets no row.
bool AddRow(int row, const std::wstring &folder, const std::wstring &name, bool isFolder)
{
    const std::wstring path = JoinPath(folder, name);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadItemData(path, &data)) return false;

    char modified[kDateTimeTextSize];
    FormatItemTime(data.ftLastWriteTime, g_listTimeRule, modified);

    const int image =
        isFolder ? FolderImage(ChooseFolderIcon(name, SameNameIgnoringCase(path, g_myDocumentsPath),
                                                g_windowsKind))
                 : FileImage(path);
    int inserted = InsertRow(row, name, image);
    if (inserted < 0) return false;
    if (isFolder)
        SetSubitem(inserted, 2, FolderTypeText(name, g_japaneseMode));
    else
        SetSubitem(inserted, 1,
                   FormatSizeText((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                  data.nFileSizeLow));
    SetSubitem(inserted, 3, WidenAscii(modified));
    SetSubitem(inserted, 4, FormatAttributeLetters(data.dwFileAttributes));
    return true;
}

// Drawing the list after every row would cost more than the rows
// themselves: what is there shows every 100 ms, and at the end.
constexpr DWORD kDrawEveryMs = 100;

// Lets the rows inserted so far show, then holds drawing back again.
void ShowRowsSoFar(HWND container)
{
    SendMessageW(g_hFolderList, WM_SETREDRAW, TRUE, 0);
    UpdateWindow(container);
    UpdateWindow(g_hFolderList);
    SendMessageW(g_hFolderList, WM_SETREDRAW, FALSE, 0);
}

void EmptyList(HWND container)
{
    SendMessageW(g_hFolderList, LVM_DELETEALLITEMS, 0, 0);
    RECT band = {0, 105, 570, 321 - GetSystemMetrics(SM_CYCAPTION)};
    InvalidateRect(container, &band, FALSE);
}

void OnContainerNotify(const NMHDR &header)
{
    if (header.hwndFrom != g_hFolderList) return;
    // Enter on a row does what a double click does.
    if (header.code == NM_DBLCLK || header.code == NM_RETURN) EnterSelectedFolder();
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
            SendMessageW(g_hFolderList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        // Taken back from the list first: a list view that still held it
        // would destroy it a second time when it goes itself.
        SendMessageW(g_hFolderList, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        if (images) ImageList_Destroy(images);
    }
    g_folderImages = nullptr;
    ForgetListImages();
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
        PostMessageW(window, kMsgCreateListView, 0, 0);
        return 0;
    case kMsgCreateListView:
        CreateFolderListView(window);
        // First focus: the list.
        FocusProgramList(GetParent(window));
        PostMessageW(GetParent(window), kMsgListReady, 0, 0);
        return 0;
    case WM_NOTIFY: OnContainerNotify(*reinterpret_cast<const NMHDR *>(lParam)); return 0;
    case WM_PAINT: OnContainerPaint(window); return 0;
    case WM_DESTROY: OnContainerDestroy(); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void CreateFolderListView(HWND container)
{
    RECT client = {};
    GetClientRect(container, &client);
    g_folderImages = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, kFolderListRows, 0);
    g_hFolderList = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 1,
                                    client.right, client.bottom - 1, container, nullptr,
                                    g_hInstance, nullptr);
    if (!g_hFolderList || !g_folderImages) {
        if (g_folderImages) ImageList_Destroy(g_folderImages);
        g_folderImages = nullptr;
        if (g_hFolderList) DestroyWindow(g_hFolderList);
        g_hFolderList = nullptr;
        PostMessageW(GetParent(container), WM_CLOSE, 0, 0);
        return;
    }
    ShowWindow(g_hFolderList, SW_SHOW);
    UpdateWindow(g_hFolderList);
    SendMessageW(g_hFolderList, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageW(g_hFolderList, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(g_folderImages));
    InsertColumns(client.right);
}

int CompareFolderEntries(const std::wstring &a, const std::wstring &b)
{
    return lstrcmpW(a.c_str(), b.c_str());
}

namespace {

// The system's sort key of a name: keys in byte order are names in the
// order the system compares them, and one key per name costs far less than
// the comparisons of a sort.
std::string SortKey(const std::wstring &name)
{
    const int size = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, name.c_str(),
                                  static_cast<int>(name.size()), nullptr, 0);
    std::string key(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, name.c_str(), static_cast<int>(name.size()),
                     reinterpret_cast<wchar_t *>(&key[0]), size);
    return key;
}

void SortAsTheSystemCompares(std::vector<std::wstring> &names)
{
    std::vector<std::pair<std::string, std::wstring>> keyed;
    keyed.reserve(names.size());
    for (std::wstring &name : names) keyed.emplace_back(SortKey(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto &entry : keyed) names.push_back(std::move(entry.second));
}

}  // namespace

void FillFolderList(const std::wstring &folder)
{
    if (!g_hFolderList) return;
    HWND container = GetParent(g_hFolderList);

    g_folderTable.clear();
    g_fileTable.clear();
    CollectEntries(folder);
    // Every row lies on the folder's volume, so one rule serves the whole fill.
    g_listTimeRule = TimeRuleForPath(folder);
    SortAsTheSystemCompares(g_folderTable);
    SortAsTheSystemCompares(g_fileTable);

    EmptyList(container);
    SendMessageW(g_hFolderList, WM_SETREDRAW, FALSE, 0);
    int rows = 0;
    DWORD lastShown = GetTickCount();
    auto addRow = [&](const std::wstring &name, bool isFolder) {
        if (!AddRow(rows, folder, name, isFolder)) return;
        ++rows;
        if (GetTickCount() - lastShown >= kDrawEveryMs) {
            ShowRowsSoFar(container);
            lastShown = GetTickCount();
        }
    };
    for (const std::wstring &name : g_folderTable) addRow(name, true);
    for (std::size_t j = 0; j < g_fileTable.size() && rows < kFolderListRows; ++j)
        addRow(g_fileTable[j], false);
    SendMessageW(g_hFolderList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(g_hFolderList, nullptr, TRUE);
    UpdateWindow(container);
    UpdateWindow(g_hFolderList);
}

void ScaleFolderListColumns()
{
    if (!g_hFolderList) return;
    RECT client = {};
    GetClientRect(GetParent(g_hFolderList), &client);
    for (int i = 0; i < static_cast<int>(sizeof kColumns / sizeof kColumns[0]); ++i)
        SendMessageW(g_hFolderList, LVM_SETCOLUMNWIDTH, i, ColumnWidth(kColumns[i], client.right));
}
