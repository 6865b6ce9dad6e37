#include "date_time_selector.h"
#include "list_container.h"
#include "main_window.h"

HINSTANCE g_hInstance;
HWND g_hMainWnd;

HWND CreateContainerWindow(HWND mainWindow, WNDPROC procedure, DWORD extendedStyle)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = g_hInstance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "KLOKAN_98_Sub";
    if (!RegisterClassA(&windowClass)) return nullptr;
    RECT client = {};
    GetClientRect(mainWindow, &client);
    return CreateWindowExA(extendedStyle, "KLOKAN_98_Sub", "Tempavo_98_Sub",
                           WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 105, client.right,
                           client.bottom - 105, mainWindow, nullptr, g_hInstance, nullptr);
}

void DestroyListContainer(HWND mainWindow)
{
    HWND container = FindWindowExA(mainWindow, nullptr, "KLOKAN_98_Sub", "Tempavo_98_Sub");
    if (!container) return;
    DestroyWindow(container);
    UnregisterClassA("KLOKAN_98_Sub", g_hInstance);
}

void ShowTimeInLists(const SYSTEMTIME &) {}
