#include "gui_test_support.h"

#include "date_time_selector.h"
#include "language.h"
#include "icon_bar.h"
#include "list_container.h"
#include "main_window.h"
#include "program_table.h"

namespace {
bool g_quitSeen = false;
int g_quitCode = 0;

bool DispatchOne()
{
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    if (message.message == WM_QUIT) {
        g_quitSeen = true;
        g_quitCode = static_cast<int>(message.wParam);
        return true;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return true;
}
} // namespace

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

bool TakeQuitMessage(int *exitCode)
{
    bool seen = g_quitSeen;
    if (exitCode) *exitCode = g_quitCode;
    g_quitSeen = false;
    g_quitCode = 0;
    return seen;
}

HWND CreateStartedMainWindow(int languageMode, int screenWidth, int screenHeight)
{
    if (screenWidth == 0) screenWidth = GetSystemMetrics(SM_CXSCREEN);
    if (screenHeight == 0) screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL, screenWidth,
                                   screenHeight);
    if (!window) return nullptr;
    CreateIconBar(window);  // as the entry point does, right after the main window
    if (languageMode >= 0) g_japaneseMode = languageMode;
    // The container is the last layer; its list view stage is already queued then.
    PumpUntil([window] { return FindListContainer(window) != nullptr; });
    DrainMessages();
    return window;
}

void DestroyMainWindow(HWND window)
{
    if (IsWindow(window)) DestroyWindow(window);
    DrainMessages();
    UnregisterClassW(kContainerClassName, GetModuleHandleA(nullptr));
    UnregisterClassW(g_program.className, GetModuleHandleA(nullptr));
    TakeQuitMessage();
}

void ChooseEntry(HWND mainWindow, int listIndex, int entry)
{
    HWND list = g_dateTimeLists[listIndex];
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    SendMessageA(mainWindow, WM_COMMAND,
                 MAKEWPARAM(g_program.firstListId + listIndex, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

int SelectedEntry(int listIndex)
{
    return static_cast<int>(SendMessageA(g_dateTimeLists[listIndex], CB_GETCURSEL, 0, 0));
}

int EntryCount(int listIndex)
{
    return static_cast<int>(SendMessageA(g_dateTimeLists[listIndex], CB_GETCOUNT, 0, 0));
}

void Repaint(HWND window)
{
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    DrainMessages();
}

bool HasInk(HWND window, const RECT &area, COLORREF background)
{
    HDC dc = GetDC(window);
    bool ink = false;
    for (int y = area.top; y < area.bottom && !ink; ++y)
        for (int x = area.left; x < area.right && !ink; ++x)
            if (GetPixel(dc, x, y) != background) ink = true;
    ReleaseDC(window, dc);
    return ink;
}

int TopInkRow(HWND window, const RECT &area, COLORREF background)
{
    HDC dc = GetDC(window);
    int row = -1;
    for (int y = area.top; y < area.bottom && row < 0; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (GetPixel(dc, x, y) != background) {
                row = y;
                break;
            }
    ReleaseDC(window, dc);
    return row;
}

std::string DrawnFace(const char *face)
{
    LOGFONTA font = {};
    font.lfHeight = -11;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    HDC dc = GetDC(nullptr);
    HFONT made = CreateFontIndirectA(&font);
    HGDIOBJ kept = SelectObject(dc, made);
    char drawn[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, drawn);
    SelectObject(dc, kept);
    DeleteObject(made);
    ReleaseDC(nullptr, dc);
    return drawn;
}

std::string MissingLabelFont()
{
    const std::string drawn = DrawnFace("Helv");
    if (drawn == "Helv" || drawn == "MS Sans Serif") return "";
    return "\"Helv\" (MS Sans Serif) is drawn as \"" + drawn +
           "\": Wine's own fonts are not in this prefix (package fonts-wine, copied into the "
           "prefix by scripts/lib/prefix_fonts.sh); the label pixels below cannot be judged";
}
