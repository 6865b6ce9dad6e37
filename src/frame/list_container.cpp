#include "list_container.h"

#include "display_scale.h"
#include "main_window.h"
#include "program_table.h"

HWND CreateContainerWindow(HWND mainWindow, WNDPROC procedure, DWORD extendedStyle)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = g_hInstance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kContainerClassName;
    if (!RegisterClassW(&windowClass)) {
        PostMessageW(mainWindow, kMsgQuitInstance, 0, 0);
        return nullptr;
    }

    RECT client = {};
    GetClientRect(mainWindow, &client);
    int top = Scale(g_program.containerTop);
    // A window squeezed by a tiny screen leaves no room below the lists; the
    // container then has no height rather than a negative one.
    int height = client.bottom - top;
    if (height < 0) height = 0;
    HWND container = CreateWindowExW(extendedStyle, kContainerClassName, kContainerWindowName,
                                     WS_CHILD | WS_VISIBLE | WS_BORDER, 0, top, client.right,
                                     height, mainWindow, nullptr, g_hInstance, nullptr);
    // Without its window the class would only block the next registration.
    if (!container) UnregisterClassW(kContainerClassName, g_hInstance);
    return container;
}

HWND FindListContainer(HWND mainWindow)
{
    return FindWindowExW(mainWindow, nullptr, kContainerClassName, kContainerWindowName);
}

void DestroyListContainer(HWND mainWindow)
{
    HWND container = FindListContainer(mainWindow);
    if (!container) return;
    DestroyWindow(container);
    UnregisterClassW(kContainerClassName, g_hInstance);
}
