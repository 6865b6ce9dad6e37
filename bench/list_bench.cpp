// Prints how long klokan99's folder list takes to list a folder of 2,000
// files, against a minimal listing: one search and one inserted row per file
// (its name only), no icons, no drawing. Then the share of the list's time
// spent in icon look-up (the same look-ups timed alone) and in drawing (the
// same fill with the list hidden, so that nothing is drawn).
// Usage: list_bench.exe [repetitions]
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "browser_windows.h"
#include "folder_list.h"
#include "test_support.h"

namespace {

constexpr int kFiles = 2000;

// One search and one row per file, with drawing held back throughout.
int MinimalListing(const std::string &folder)
{
    SendMessageA(g_hFolderList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(g_hFolderList, LVM_DELETEALLITEMS, 0, 0);
    int rows = 0;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = rows;
            item.pszText = found.cFileName;
            if (SendMessageA(g_hFolderList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) >= 0)
                ++rows;
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SendMessageA(g_hFolderList, WM_SETREDRAW, TRUE, 0);
    ValidateRect(g_hFolderList, nullptr);
    return rows;
}

// The list's icon work alone: one shell look-up and one image per file type,
// into an image list of the list's kind.
double IconLookups(const std::vector<std::string> &paths)
{
    Stopwatch watch;
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, kFolderListRows, 0);
    std::map<std::string, HICON> byType;
    for (const std::string &path : paths) {
        const std::string type = path.substr(path.rfind('.'));
        HICON &icon = byType[type];
        if (!icon) {
            SHFILEINFOA info = {};
            if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON))
                icon = info.hIcon;
            if (icon) ImageList_AddIcon(images, icon);
        }
    }
    for (auto &entry : byType)
        if (entry.second) DestroyIcon(entry.second);
    ImageList_Destroy(images);
    return watch.Seconds();
}

// The list's other steps, each timed alone over the same files.
void ProfileParts(const std::vector<std::string> &paths, const std::string &folder, double fill)
{
    Stopwatch watch;
    std::vector<std::string> names;
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do names.push_back(folder + "\\" + found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    const double searching = watch.Seconds();
    watch.Restart();
    std::vector<std::string> sorted = paths;
    int order = 0;
    for (size_t i = 1; i < sorted.size(); ++i) order += CompareFolderEntries(W(sorted[i - 1]), W(sorted[i])) > 0;
    const double compareOnce = watch.Seconds() / static_cast<double>(sorted.size());
    watch.Restart();
    for (const std::string &path : paths) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    }
    const double reading = watch.Seconds();
    watch.Restart();
    SHFILEINFOA info = {};
    SHGetFileInfoA(paths[0].c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
    const double shell = watch.Seconds();
    watch.Restart();
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, kFolderListRows, 0);
    for (size_t i = 0; i < paths.size(); ++i) ImageList_AddIcon(images, info.hIcon);
    // What one image per row, rather than per distinct icon, would add.
    const double adding = watch.Seconds();
    ImageList_Destroy(images);
    DestroyIcon(info.hIcon);
    // Rows with their three texts, drawing held back.
    SendMessageA(g_hFolderList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(g_hFolderList, LVM_DELETEALLITEMS, 0, 0);
    watch.Restart();
    for (size_t i = 0; i < paths.size(); ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char *>("row");
        item.iImage = static_cast<int>(i % 4);
        const int row = static_cast<int>(SendMessageA(g_hFolderList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        for (int sub = 1; sub <= 3; ++sub) {
            LVITEMA text = {};
            text.iSubItem = sub == 1 ? 1 : sub + 1;
            text.pszText = const_cast<char *>("text");
            SendMessageA(g_hFolderList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&text));
        }
    }
    const double inserting = watch.Seconds();
    SendMessageA(g_hFolderList, WM_SETREDRAW, TRUE, 0);
    ValidateRect(g_hFolderList, nullptr);
    std::printf("  the fill's steps, each timed alone (%% of the fill):\n");
    std::printf("    search                          %7.1f ms %4.0f%%\n", 1000 * searching, 100 * searching / fill);
    std::printf("    one compare of two names        %7.3f ms (the fill sorts by one key per name instead)\n",
                1000 * compareOnce);
    std::printf("    attributes read again per row   %7.1f ms %4.0f%%\n", 1000 * reading, 100 * reading / fill);
    std::printf("    one shell icon look-up          %7.1f ms\n", 1000 * shell);
    std::printf("    2,000 images added (not done: rows share their images) %7.1f ms, %.1f fills\n",
                1000 * adding, adding / fill);
    std::printf("    2,000 rows with 3 texts         %7.1f ms %4.0f%%\n", 1000 * inserting, 100 * inserting / fill);
    (void)order;
    (void)names;
}

int Rows() { return static_cast<int>(SendMessageA(g_hFolderList, LVM_GETITEMCOUNT, 0, 0)); }

}  // namespace

int main(int argc, char **argv)
{
    LockClockSetter();
    InitCommonControls();
    const int repetitions = Repetitions(argc, argv, 5);
    TempFolder folder;
    const std::vector<std::string> paths = MakeFlatFolder(folder.Path(), kFiles);
    BrowserWindows windows(false);
    if (!windows.Ready()) {
        std::printf("list_bench: the list window could not be made\n");
        return 1;
    }
    PumpMessages();

    std::vector<double> fill, minimal, hidden;
    int fillRows = 0, minimalRows = 0, hiddenRows = 0;
    for (int r = 0; r < repetitions; ++r) {
        Stopwatch watch;
        ShowFolder(folder.Path());
        fill.push_back(watch.Seconds());
        fillRows = Rows();
        PumpMessages();

        watch.Restart();
        minimalRows = MinimalListing(folder.Path());
        minimal.push_back(watch.Seconds());
        PumpMessages();

        // The same fill with the list window hidden: nothing is drawn.
        ShowWindow(GetParent(g_hFolderList), SW_HIDE);
        watch.Restart();
        ShowFolder(folder.Path());
        hidden.push_back(watch.Seconds());
        hiddenRows = Rows();
        ShowWindow(GetParent(g_hFolderList), SW_SHOW);
        PumpMessages();
    }
    std::vector<double> icons;
    for (int r = 0; r < repetitions; ++r) icons.push_back(IconLookups(paths));

    const double f = Best(fill), m = Best(minimal), h = Best(hidden), i = Best(icons);
    std::printf("3. listing a folder of %d files (best of %d, side by side)\n", kFiles, repetitions);
    std::printf("  FillFolderList       %7.1f ms  (%d rows)\n", 1000 * f, fillRows);
    std::printf("  minimal listing      %7.1f ms  (%d rows)\n", 1000 * m, minimalRows);
    std::printf("  time ratio fill/minimal %.2f (goal <= 3)\n", f / m);
    std::printf("  icon look-up (the same look-ups alone) %7.1f ms, %4.0f%% of the fill\n", 1000 * i,
                100 * i / f);
    std::printf("  drawing (fill minus the fill with the list hidden, %d rows) %7.1f ms, %4.0f%% of the fill\n",
                hiddenRows, 1000 * (f - h), 100 * (f - h) / f);
    ProfileParts(paths, folder.Path(), f);
    std::printf("5. peak working set after listing %d rows: %.1f MiB\n", fillRows, PeakWorkingSetMiB());
    return 0;
}
