// The container window of the drop list: it accepts the dropped files and
// holds the list view.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "drop_list.h"

HWND g_hDropListContainer = nullptr;

namespace {

constexpr const char *kDropContainerClass = "KLOKAN_98_Sub";
constexpr const char *kDropContainerName = "Tempavo_98_Sub";
constexpr int kDropContainerTop = 90;
constexpr UINT kMsgQuitInstance = WM_USER + 200;  // 1224: the main window ends the program

void OnContainerPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void OnContainerDestroy()
{
    if (g_hDropListView) {
        HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
            SendMessageA(g_hDropListView, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        if (images) ImageList_Destroy(images);
        if (images == g_hDropListImages) g_hDropListImages = nullptr;
    }
    g_hDropListView = nullptr;
    g_hDropListContainer = nullptr;
}

}  // namespace

void CreateDropListContainer(HWND mainWindow)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = DropListContainerProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kDropContainerClass;
    if (!RegisterClassA(&windowClass)) {
        PostMessageA(mainWindow, kMsgQuitInstance, 0, 0);
        return;
    }
    RECT client = {};
    GetClientRect(mainWindow, &client);
    const int height = client.bottom > kDropContainerTop ? client.bottom - kDropContainerTop : 0;
    g_hDropListContainer = CreateWindowExA(WS_EX_ACCEPTFILES, kDropContainerClass,
                                           kDropContainerName, WS_CHILD | WS_VISIBLE | WS_BORDER,
                                           0, kDropContainerTop, client.right, height, mainWindow,
                                           nullptr, instance, nullptr);
    if (!g_hDropListContainer) UnregisterClassA(kDropContainerClass, instance);
}

LRESULT CALLBACK DropListContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        PostMessageA(window, kMsgCreateDropListView, 0, 0);
        return 0;
    case kMsgCreateDropListView:
        CreateDropListView(window);
        return 0;
    case WM_DROPFILES:
        OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_PAINT:
        OnContainerPaint(window);
        return 0;
    case WM_DESTROY:
        OnContainerDestroy();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
