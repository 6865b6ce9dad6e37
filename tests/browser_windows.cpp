#include "browser_windows.h"

#include <commctrl.h>


#include "drive_selector.h"
#include "folder_list.h"
#include "list_container.h"
#include "main_window.h"
#include "path_text.h"
#include "test_support.h"

namespace {
constexpr const wchar_t *kTestMainClass = L"RetempoBrowserTestMain";

LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == kDriveSelectorId &&
        HIWORD(wParam) == CBN_SELCHANGE) {
        OnDriveSelectorChange();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

BrowserWindows::BrowserWindows(bool withDriveSelector)
{
    g_hInstance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TestMainProc;
    windowClass.hInstance = g_hInstance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kTestMainClass;
    RegisterClassW(&windowClass);
    main_ = CreateWindowExW(0, kTestMainClass, L"Retempo test", WS_OVERLAPPED | WS_SYSMENU, 0, 0,
                            576, 413 + GetSystemMetrics(SM_CYCAPTION), nullptr, nullptr,
                            g_hInstance, nullptr);
    g_hMainWnd = main_;
    ShowWindow(main_, SW_SHOW);
    if (withDriveSelector) CreateDriveSelector(main_);
    CreateListContainer(main_);
    // The container makes its list view on a posted message.
    for (int i = 0; i < 50 && !g_hFolderList; ++i) {
        PumpMessages();
        if (!g_hFolderList) Sleep(10);
    }
}

BrowserWindows::~BrowserWindows()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    SetCurrentDirectoryW(temp);
    DestroyDriveImageList();
    DestroyListContainer(main_);
    DestroyWindow(main_);
    g_hDriveSelector = nullptr;
    g_hMainWnd = nullptr;
    UnregisterClassW(kTestMainClass, g_hInstance);
    PumpMessages();
}

bool BrowserWindows::Ready() const { return main_ && g_hFolderList; }

void ShowFolder(const std::string &folder)
{
    g_currentFolder = W(folder);
    SetCurrentDirectoryW(g_currentFolder.c_str());
    FillFolderList(g_currentFolder);
}

int RowCount() { return static_cast<int>(SendMessageW(g_hFolderList, LVM_GETITEMCOUNT, 0, 0)); }

std::string RowText(int row, int column)
{
    wchar_t text[1024] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 1023;
    SendMessageW(g_hFolderList, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return U(text);
}

std::vector<std::string> RowNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < RowCount(); ++i) names.push_back(RowText(i, 0));
    return names;
}

void SelectRows(const std::vector<int> &rows)
{
    LVITEMW clear = {};
    clear.stateMask = LVIS_SELECTED;
    SendMessageW(g_hFolderList, LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&clear));
    for (int row : rows) {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(g_hFolderList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

int FindRow(const std::string &name)
{
    for (int i = 0; i < RowCount(); ++i)
        if (RowText(i, 0) == name) return i;
    return -1;
}

bool MakeFileOfSize(const std::string &path, DWORD size)
{
    HANDLE h = CreateFileW(SystemPath(W(path)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::string bytes(size, 'x');
    DWORD written = 0;
    BOOL ok = size == 0 || WriteFile(h, bytes.data(), size, &written, nullptr);
    CloseHandle(h);
    return ok && written == size;
}

