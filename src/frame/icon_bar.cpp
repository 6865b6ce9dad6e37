#include "icon_bar.h"

#include <algorithm>
#include <cwchar>

#include "keyboard.h"
#include "language.h"
#include "skin_language.h"
#include "main_window.h"
#include "program_table.h"
#include "scoped_gdi.h"
#include "scoped_gdi_objects.h"

HWND g_hIconBar = nullptr;
IconBarButton g_iconBarButtons[kBarButtons] = {};
int g_captionState = 0;
RECT g_captionRect = {};
COLORREF g_captionSaved[kCaptionSaveRows * kCaptionSaveColumns] = {};
wchar_t g_captionText[32] = {};

namespace {

constexpr wchar_t kBarClass[] = L"IconBarWindow";

int ButtonIndexOfId(int id)
{
    const IconBarLayout &bar = CurrentIconBar();
    for (int i = 0; i < kBarButtons; ++i)
        if (bar.buttons[i].id == id) return i;
    return -1;
}

// The bitmap names of button i for the current skin and display scale.
void NameButtonBitmaps(int i)
{
    const IconBarButtonEntry &entry = CurrentIconBar().buttons[i];
    IconBarButton &button = g_iconBarButtons[i];
    // The bitmaps drawn for the display's scale, as large as the button.
    const int art = ArtPercentFor(g_dpi);
    BitmapName(entry.base, g_windowsKind, ButtonState::Up, button.upName, art);
    BitmapName(entry.base, g_windowsKind, ButtonState::Dn, button.downName, art);
    BitmapName(entry.base, g_windowsKind, ButtonState::In, button.inactiveName, art);
}

void OnBarCreate(HWND bar)
{
    if (!g_windowsKindSet) DetectWindowsKind();
    const IconBarLayout &layout = CurrentIconBar();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(bar, GWLP_HINSTANCE));
    const int top = BarButtonTop();
    for (int i = 0; i < kBarButtons; ++i) {
        const IconBarButtonEntry &entry = layout.buttons[i];
        IconBarButton &button = g_iconBarButtons[i];
        NameButtonBitmaps(i);
        // Drawn from its bitmaps, but named by its caption, which is what a
        // screen reader announces.
        const wchar_t *name = g_japaneseMode ? entry.japaneseCaption : entry.englishCaption;
        // As large as its bitmaps, at its place scaled.
        button.window = CreateWindowExW(0, L"BUTTON", name,
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                                        BarButtonX(layout, i + 1, g_dpi), top, BarButtonWidthAt(g_dpi),
                                        BarButtonHeightAt(g_dpi), bar,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                        instance, nullptr);
        // The drop list starts empty: its row commands wait for rows.
        if (entry.needsDropItems && button.window) EnableWindow(button.window, FALSE);
    }
}

void OnBarDrawItem(HWND bar, const DRAWITEMSTRUCT &item)
{
    if (item.CtlType != ODT_BUTTON) return;
    const int index = ButtonIndexOfId(static_cast<int>(item.CtlID));
    if (index >= 0) {
        const IconBarButton &button = g_iconBarButtons[index];
        const char *name = !IsWindowEnabled(item.hwndItem)      ? button.inactiveName
                           : (item.itemState & ODS_SELECTED) ? button.downName
                                                               : button.upName;
        HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(bar, GWLP_HINSTANCE));
        ScopedBitmap bitmap(LoadBitmapA(instance, name));
        // A focus change redraws the face too, so the focus mark of the
        // last time never stays behind.
        if (bitmap.get() && (item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))) {
            ScopedMemoryDC memory(item.hDC);
            ScopedSelection selected(memory.get(), bitmap.get());
            if (selected.ok()) {
                const RECT &r = item.rcItem;
                BitBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory.get(),
                       0, 0, SRCCOPY);
            }
        }
        // The keyboard's focus is marked inside the face; a click, which
        // needs no mark, leaves it out where the system says so.
        if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
            RECT mark = item.rcItem;
            InflateRect(&mark, -Scale(3), -Scale(3));
            DrawFocusRect(item.hDC, &mark);
        }
    }
    PaintBarTopLine(bar);
}

void OnBarCommand(HWND bar, WPARAM wParam)
{
    const int index = ButtonIndexOfId(LOWORD(wParam));
    if (index < 0) return;
    HWND button = g_iconBarButtons[index].window;
    // A click queued before the button was disabled must not run its command.
    if (button && !IsWindowEnabled(button)) return;
    // Sent, not posted: the command (modal boxes included) ends before the
    // button is redrawn in its current state.
    SendMessageW(GetParent(bar), WM_COMMAND, CurrentIconBar().buttons[index].command, 0);
    if (button) InvalidateRect(button, nullptr, TRUE);
}

// Empties the caption area after putting its pixels back.
void ClearCaption(HDC dc)
{
    RestoreCaptionPixels(dc);
    g_captionRect = {};
    g_captionState = 0;
}

void ShowCaption(HDC dc, int n, const CaptionFont &font, int buttonTop)
{
    // Only the area is put back here; the new box is drawn over it below.
    if (g_captionRect.left != 0) RestoreCaptionPixels(dc);

    const IconBarButtonEntry &entry = CurrentIconBar().buttons[n - 1];
    // The caption names the button's key too.
    const std::wstring caption =
        CaptionWithKey(g_japaneseMode ? entry.japaneseCaption : entry.englishCaption, entry.command,
                       g_program.keys, g_program.keyCount);
    std::wmemset(g_captionText, 0, 32);
    std::wcsncpy(g_captionText, caption.c_str(), 31);
    const int length = static_cast<int>(std::wcslen(g_captionText));

    SIZE extent{};
    GetTextExtentPoint32W(dc, g_captionText, length, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const CaptionMetrics m{GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYCAPTION),
                           buttonTop, static_cast<int>(extent.cx), static_cast<int>(metrics.tmHeight),
                           static_cast<int>(metrics.tmExternalLeading), Scale(font.extraWidth), g_dpi};
    const CaptionArea box = CaptionBoxFor(CurrentIconBar(), n, m);
    const CaptionArea area = ClipToSaveArea(box);
    g_captionRect = {area.left, area.top, area.right, area.bottom};
    SaveCaptionPixels(dc);

    // The box never paints outside the saved area, so putting the saved
    // pixels back always restores everything it changed.
    const int state = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right + 1, area.bottom + 1);
    Rectangle(dc, box.left, box.top, box.right, box.bottom);
    TextOutW(dc, box.left + Scale(font.offsetX + 3), box.top + Scale(font.offsetY + 3), g_captionText, length);
    RestoreDC(dc, state);
    g_captionState = n;
}

LOGFONTW CaptionLogFont(const CaptionFont &font)
{
    LOGFONTW lf{};
    lf.lfHeight = Scale(font.height);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = static_cast<BYTE>(font.charSet);
    std::wcsncpy(lf.lfFaceName, font.face, LF_FACESIZE - 1);
    return lf;
}

// Rows and columns of the saved area; never more than the buffer holds.
int SavedRows() { return std::min<int>(g_captionRect.bottom - g_captionRect.top + 1, kCaptionSaveRows); }
int SavedColumns()
{
    return std::min<int>(g_captionRect.right - g_captionRect.left + 1, kCaptionSaveColumns);
}

}  // namespace

const IconBarLayout &CurrentIconBar() { return *g_program.iconBar; }

int BarButtonTop() { return GetSystemMetrics(SM_CYBORDER) + Scale(CurrentIconBar().buttonTopExtra); }

void CreateIconBar(HWND mainWindow)
{
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = IconBarWndProc;
    wc.hInstance = g_hInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // No background of its own: the main window's button face shows around the buttons.
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    wc.lpszClassName = kBarClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;

    g_hIconBar = CreateWindowExW(0, kBarClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, mainWindow,
                                 nullptr, g_hInstance, nullptr);
    if (!g_hIconBar) return;
    const int height = GetSystemMetrics(SM_CYBORDER) + Scale(CurrentIconBar().barHeightExtra);
    SetWindowPos(g_hIconBar, nullptr, 0, 0, Scale(550), height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(g_hIconBar, SW_SHOW);
    UpdateWindow(g_hIconBar);
}

LRESULT CALLBACK IconBarWndProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnBarCreate(bar);
        return 0;
    case WM_DRAWITEM:
        OnBarDrawItem(bar, *reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return 0;
    case WM_COMMAND:
        OnBarCommand(bar, wParam);
        return 0;
    default:
        return DefWindowProcW(bar, message, wParam, lParam);
    }
}

void LayOutIconBarButtons()
{
    const IconBarLayout &layout = CurrentIconBar();
    const int top = BarButtonTop();
    for (int i = 0; i < kBarButtons; ++i) {
        NameButtonBitmaps(i);
        if (HWND button = g_iconBarButtons[i].window) {
            SetWindowPos(button, nullptr, BarButtonX(layout, i + 1, g_dpi), top, BarButtonWidthAt(g_dpi),
                         BarButtonHeightAt(g_dpi), SWP_NOZORDER | SWP_NOACTIVATE);
            InvalidateRect(button, nullptr, TRUE);
        }
    }
}

void PaintBarTopLine(HWND bar)
{
    if (!g_btnFaceColorSet) g_btnFaceColor = GetSysColor(COLOR_BTNFACE);
    RECT client{};
    GetClientRect(bar, &client);
    ScopedWindowDC dc(bar);
    ScopedPen pen(CreatePen(PS_SOLID, 1, g_btnFaceColor));
    ScopedSelection selected(dc.get(), pen.get());
    MoveToEx(dc.get(), 0, 0, nullptr);
    LineTo(dc.get(), client.right, 0);
}

void UpdateHoverCaption(HWND mainWindow)
{
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(mainWindow, &pointer);
    // Inactive, or a modal box is open over the window: leave everything as it is.
    if (!GetActiveWindow() || !IsWindowEnabled(mainWindow)) return;

    ScopedWindowFrameDC dc(mainWindow);
    const CaptionFont font = CaptionFontFor(g_japaneseMode, g_windowsKind);
    ScopedSelectedFont selected(dc.get(), CaptionLogFont(font));
    const int buttonTop = BarButtonTop();
    if (InButtonBand(pointer.y, buttonTop, g_dpi)) {
        const int n = CaptionButtonAt(CurrentIconBar(), pointer.x, g_dpi);
        if (n == 0) {
            // Left of the bar, the gap after a spaced button, or right of it.
            if (g_captionState != 0) ClearCaption(dc.get());
        } else if (g_captionState != n) {
            // Straight from one button to the next: the box is replaced.
            ShowCaption(dc.get(), n, font, buttonTop);
        }
    } else if (g_captionState != 0) {
        ClearCaption(dc.get());
    }
}

void RemoveHoverCaption(HWND mainWindow)
{
    ScopedWindowFrameDC dc(mainWindow);
    ClearCaption(dc.get());
}

void HoldHoverCaption(int n)
{
    g_captionState = n;
}

void SaveCaptionPixels(HDC dc)
{
    if (g_captionRect.left == 0) return;
    const int rows = SavedRows(), columns = SavedColumns();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j)
            g_captionSaved[i * kCaptionSaveColumns + j] =
                GetPixel(dc, g_captionRect.left + j, g_captionRect.top + i);
}

void RestoreCaptionPixels(HDC dc)
{
    if (g_captionRect.left == 0) return;
    const int rows = SavedRows(), columns = SavedColumns();
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) {
            const COLORREF colour = g_captionSaved[i * kCaptionSaveColumns + j];
            // A pixel that could not be read was not visible; there is nothing to put back.
            if (colour != CLR_INVALID)
                SetPixelV(dc, g_captionRect.left + j, g_captionRect.top + i, colour);
        }
}

namespace {
bool g_barBusy = false;
BOOL g_enabledBeforeBusy[kBarButtons] = {};
}  // namespace

void SetBarBusy(bool busy)
{
    if (busy == g_barBusy) return;
    g_barBusy = busy;
    static HWND focusBeforeBusy = nullptr;
    if (busy) focusBeforeBusy = nullptr;
    for (int i = 0; i < kBarButtons; ++i) {
        HWND button = g_iconBarButtons[i].window;
        if (!button) continue;
        if (busy) {
            g_enabledBeforeBusy[i] = IsWindowEnabled(button);
            if (GetFocus() == button) focusBeforeBusy = button;
            MoveFocusOffBeforeDisabling(button);
        }
        EnableWindow(button, busy ? FALSE : g_enabledBeforeBusy[i]);
    }
    // The button that started the run has the focus again after it.
    if (!busy && focusBeforeBusy) HandFocusBack(focusBeforeBusy);
}

void UpdateDropButtons(int hasItems)
{
    if (g_barBusy) return;
    const IconBarLayout &bar = CurrentIconBar();
    for (int i = 0; i < kBarButtons; ++i)
        if (bar.buttons[i].needsDropItems && g_iconBarButtons[i].window) {
            if (!hasItems) MoveFocusOffBeforeDisabling(g_iconBarButtons[i].window);
            EnableWindow(g_iconBarButtons[i].window, hasItems ? TRUE : FALSE);
        }
}
