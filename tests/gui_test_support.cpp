#include "gui_test_support.h"

#include "icon_bar.h"
#include "main_window.h"

namespace {
constexpr char kClass[] = "RetempoBarTestMain";

bool DispatchOne()
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) return true;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return true;
}

// Text and lines under the bar, so that a caption covers something to restore.
void PaintSomething(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    SetBkMode(dc, TRANSPARENT);
    for (int y = 10; y < 120; y += 13) TextOutA(dc, 300, y, "Year Month Day Hour Minute Second", 33);
    for (int x = 300; x < 576; x += 7) {
        MoveToEx(dc, x, 0, nullptr);
        LineTo(dc, x + 40, 120);
    }
    EndPaint(window, &paint);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        DefWindowProcA(window, message, wParam, lParam);
        UpdateHoverCaption(window);
        return 0;
    case WM_PAINT:
        PaintSomething(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
}  // namespace

bool PumpUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return done();
        if (!DispatchOne()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void DrainMessages()
{
    while (DispatchOne()) {
    }
}

HWND CreateStartedMainWindow(int, int)
{
    g_hInstance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainProc;
    wc.hInstance = g_hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, kClass, "Retempo [test]", WS_SYSMENU | WS_MINIMIZEBOX, 50, 50,
                                  576, 432, nullptr, nullptr, g_hInstance, nullptr);
    if (!window) return nullptr;
    g_hMainWnd = window;
    g_btnFaceColor = GetSysColor(COLOR_BTNFACE);
    g_btnFaceColorSet = 1;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    CreateIconBar(window);
    const IconBarLayout &bar = CurrentIconBar();
    SetWindowPos(g_hIconBar, nullptr, bar.barX, 0, bar.barWidth,
                 GetSystemMetrics(SM_CYBORDER) + bar.barHeightExtra, SWP_NOZORDER | SWP_SHOWWINDOW);
    DrainMessages();
    return window;
}

void DestroyMainWindow(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
    g_hIconBar = nullptr;
    DrainMessages();
}

void Repaint(HWND window)
{
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    DrainMessages();
}
