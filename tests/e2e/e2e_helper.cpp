// The end-to-end suite's eyes and hands inside Wine, for what xdotool cannot
// see: where a window and the rows of a list view lie on the screen, and the
// stored times and attributes of a tree. It never changes a file.
//
//   e2e_helper window <class|-> <title|-> [id] client origin, size, state (a list: its pick)
//   e2e_helper list <main class>              geometry of the list view in the container
//   e2e_helper times <folder>                 every item below and the folder itself
//   e2e_helper volume <root>                 drive type and file system
//   e2e_helper close <class|-> <title|->       asks a window to close (WM_CLOSE)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const wchar_t *OrNull(const std::wstring &text) { return text == L"-" ? nullptr : text.c_str(); }

// The main window, dialog or message box by class and title ("-" for any);
// with a control id, that child of it instead.
int Window(const std::wstring &wantedClass, const std::wstring &wantedTitle, const char *control)
{
    HWND window = FindWindowW(OrNull(wantedClass), OrNull(wantedTitle));
    if (!window) return 1;
    if (control) {
        window = GetDlgItem(window, std::atoi(control));
        if (!window) return 1;
    }
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    RECT client = {}, outer = {};
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    std::printf("client %ld %ld %ld %ld\nwindow %ld %ld %ld %ld\nenabled %d\nvisible %d\n",
                origin.x, origin.y, client.right, client.bottom, outer.left, outer.top,
                outer.right - outer.left, outer.bottom - outer.top, IsWindowEnabled(window) ? 1 : 0,
                IsWindowVisible(window) ? 1 : 0);
    if (SendMessageW(window, WM_GETDLGCODE, 0, 0) & (DLGC_BUTTON | DLGC_RADIOBUTTON))
        std::printf("checked %d\n", static_cast<int>(SendMessageW(window, BM_GETCHECK, 0, 0)));
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "ComboBox") == 0)
        std::printf("selected %d\ndropped %d\n", static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0)),
                    static_cast<int>(SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0)));
    return 0;
}

// Only messages without pointers cross to the other process: the row height
// comes from the list's own estimate of the space for one and for two rows.
int List(const char *mainClass)
{
    HWND main = FindWindowA(mainClass, nullptr);
    HWND container = main ? FindWindowExA(main, nullptr, "KLOKAN_98_Sub", nullptr) : nullptr;
    HWND list = container ? FindWindowExA(container, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
    if (!list) return 1;
    HWND header = FindWindowExA(list, nullptr, WC_HEADERA, nullptr);
    RECT listRect = {}, headerRect = {};
    GetWindowRect(list, &listRect);
    if (header) GetWindowRect(header, &headerRect);
    DWORD one = static_cast<DWORD>(SendMessageA(list, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1)));
    DWORD two = static_cast<DWORD>(SendMessageA(list, LVM_APPROXIMATEVIEWRECT, 2, MAKELPARAM(-1, -1)));
    int rowHeight = HIWORD(two) - HIWORD(one);
    int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int selected = static_cast<int>(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
    int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
    std::printf("list %ld %ld %ld %ld\nheader_bottom %ld\nrow_height %d\ncount %d\nselected %d\ntop %d\n",
                listRect.left, listRect.top, listRect.right - listRect.left,
                listRect.bottom - listRect.top, header ? headerRect.bottom : listRect.top, rowHeight,
                count, selected, top);
    std::printf("selected_rows");
    for (int i = -1; (i = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
        std::printf(" %d", i);
    std::printf("\n");
    return 0;
}

// Local time under the rule of the stored date, as the programs show it on NTFS.
std::string Local(const FILETIME &stored)
{
    SYSTEMTIME utc = {}, local = {};
    if (!FileTimeToSystemTime(&stored, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return "invalid";
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth,
                  local.wDay, local.wHour, local.wMinute, local.wSecond);
    return text;
}

void PrintItem(const std::string &path, const std::string &relative)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        std::printf("%s\tunreadable\n", relative.c_str());
        return;
    }
    std::string letters;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) letters += 'R';
    if (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) letters += 'H';
    if (data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) letters += 'S';
    if (data.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) letters += 'A';
    std::printf("%s\t%s\t%s\t%s\t%s\n", relative.c_str(), Local(data.ftCreationTime).c_str(),
                Local(data.ftLastAccessTime).c_str(), Local(data.ftLastWriteTime).c_str(),
                letters.c_str());
}

void Walk(const std::string &folder, const std::string &relative)
{
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (!std::strcmp(found.cFileName, ".") || !std::strcmp(found.cFileName, "..")) continue;
        std::string path = folder + "\\" + found.cFileName;
        std::string name = relative.empty() ? found.cFileName : relative + "\\" + found.cFileName;
        PrintItem(path, name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Walk(path, name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

int Times(const char *folder)
{
    if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) return 1;
    PrintItem(folder, ".");
    Walk(folder, "");
    return 0;
}

HWND TopWindow(const char *wantedClass, const char *wantedTitle)
{
    return FindWindowA(std::strcmp(wantedClass, "-") ? wantedClass : nullptr,
                       std::strcmp(wantedTitle, "-") ? wantedTitle : nullptr);
}

int Close(const char *wantedClass, const char *wantedTitle)
{
    HWND window = TopWindow(wantedClass, wantedTitle);
    if (!window) return 1;
    return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

// Undo last change of a program: its window-menu command.
int Undo(const char *wantedClass, const char *wantedTitle)
{
    HWND window = TopWindow(wantedClass, wantedTitle);
    if (!window) return 1;
    return PostMessageA(window, WM_SYSCOMMAND, 0x0110, 0) ? 0 : 1;
}

// The text of a message box (its static control 0xFFFF), in UTF-8.
int BoxText(const char *wantedTitle)
{
    HWND box = TopWindow("#32770", wantedTitle);
    HWND text = box ? GetDlgItem(box, 0xFFFF) : nullptr;
    if (!text) return 1;
    wchar_t wide[4096] = {};
    GetWindowTextW(text, wide, 4096);
    char utf8[16384] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
    return 0;
}

// Where a program's keyboard focus is: the focused control's class and id.
int Focus(const char *wantedClass)
{
    HWND window = TopWindow(wantedClass, "-");
    if (!window) return 1;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) return 1;
    char name[64] = {};
    GetClassNameA(info.hwndFocus, name, sizeof name);
    std::printf("class %s\nid %d\n", name, GetDlgCtrlID(info.hwndFocus));
    return 0;
}

// The drive type and file system of a root such as M:\.
int Volume(const char *root)
{
    char system[64] = {};
    if (!GetVolumeInformationA(root, nullptr, 0, nullptr, nullptr, nullptr, system, sizeof system))
        return 1;
    std::printf("type %u\nfilesystem %s\n", GetDriveTypeA(root), system);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && !std::strcmp(argv[1], "window"))
    {
        // Titles come from the wide command line: the ANSI one loses what
        // the code page cannot spell.
        int count = 0;
        LPWSTR *wide = CommandLineToArgvW(GetCommandLineW(), &count);
        if (!wide || count < 4) return 2;
        return Window(wide[2], wide[3], argc >= 5 ? argv[4] : nullptr);
    }
    if (argc >= 3 && !std::strcmp(argv[1], "list")) return List(argv[2]);
    if (argc >= 3 && !std::strcmp(argv[1], "times")) return Times(argv[2]);
    if (argc >= 3 && !std::strcmp(argv[1], "volume")) return Volume(argv[2]);
    if (argc >= 4 && !std::strcmp(argv[1], "close")) return Close(argv[2], argv[3]);
    if (argc >= 4 && !std::strcmp(argv[1], "undo")) return Undo(argv[2], argv[3]);
    if (argc >= 3 && !std::strcmp(argv[1], "boxtext")) return BoxText(argv[2]);
    if (argc >= 3 && !std::strcmp(argv[1], "focus")) return Focus(argv[2]);
    std::fprintf(stderr, "usage: e2e_helper window|list|times|volume|close|undo|boxtext ...\n");
    return 2;
}
