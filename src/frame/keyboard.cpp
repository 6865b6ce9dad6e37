#include "keyboard.h"

#include <commctrl.h>

#include <memory>

#include "icon_bar.h"
#include "main_window.h"
#include "program_table.h"

namespace {

// The control that had the focus when the main window last went inactive.
HWND g_lastFocus = nullptr;

bool IsInside(HWND mainWindow, HWND window)
{
    return window && (window == mainWindow || IsChild(mainWindow, window));
}

bool Usable(HWND window)
{
    return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

bool IsComboBox(HWND window)
{
    for (; window; window = GetParent(window)) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 31);
        if (lstrcmpiW(name, L"ComboBox") == 0 || lstrcmpiW(name, WC_COMBOBOXEXW) == 0) return true;
        if (GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP) break;
        if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

int Modifiers()
{
    int modifiers = 0;
    if (GetKeyState(VK_CONTROL) & 0x8000) modifiers |= kKeyCtrl;
    if (GetKeyState(VK_SHIFT) & 0x8000) modifiers |= kKeyShift;
    if (GetKeyState(VK_MENU) & 0x8000) modifiers |= kKeyAlt;
    return modifiers;
}

// The stop holding window (a combo box's inner parts belong to it), or -1.
int StopOf(const std::vector<HWND> &stops, HWND window)
{
    for (int i = 0; i < static_cast<int>(stops.size()); ++i)
        if (stops[i] && (stops[i] == window || IsChild(stops[i], window))) return i;
    return -1;
}

void ShowFocusCues(HWND mainWindow)
{
    SendMessageW(mainWindow, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void MoveTab(HWND mainWindow, bool backwards)
{
    const std::vector<HWND> stops = TabStopWindows(mainWindow);
    const int count = static_cast<int>(stops.size());
    std::unique_ptr<bool[]> usable(new bool[stops.size() + 1]);
    for (int i = 0; i < count; ++i) usable[i] = Usable(stops[i]);
    const int next = NextTabStop(usable.get(), count, StopOf(stops, GetFocus()), backwards);
    if (next < 0) return;
    SetFocus(stops[next]);
    ShowFocusCues(mainWindow);
}

HWND ProgramListWindow() { return ProgramListView(); }

}  // namespace

std::vector<HWND> TabStopWindows(HWND mainWindow)
{
    std::vector<HWND> windows;
    for (int i = 0; i < g_program.tabStopCount; ++i) {
        const TabStop &stop = g_program.tabStops[i];
        HWND window = nullptr;
        switch (stop.kind) {
        case TabStopKind::MainChild: window = GetDlgItem(mainWindow, stop.id); break;
        case TabStopKind::BarButton: window = g_hIconBar ? GetDlgItem(g_hIconBar, stop.id) : nullptr; break;
        case TabStopKind::ProgramList: window = ProgramListView(); break;
        }
        windows.push_back(window);
    }
    return windows;
}

void PressBarCommand(HWND mainWindow, int command)
{
    const IconBarLayout &bar = CurrentIconBar();
    for (int i = 0; i < kBarButtons; ++i) {
        if (bar.buttons[i].command != command) continue;
        HWND button = g_iconBarButtons[i].window;
        if (g_hIconBar && (!button || !IsWindowEnabled(button))) return;
        break;
    }
    SendMessageW(mainWindow, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

bool HandleMainWindowKey(HWND mainWindow, const MSG &message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    return HandleMainWindowKeyWith(mainWindow, message, Modifiers());
}

bool HandleMainWindowKeyWith(HWND mainWindow, const MSG &message, int modifiers)
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
    if (!mainWindow || !IsInside(mainWindow, message.hwnd) || !IsWindowEnabled(mainWindow))
        return false;
    const unsigned key = static_cast<unsigned>(message.wParam);
    // A combo box whose list is open keeps every key: Enter and Esc close it.
    HWND focus = GetFocus();
    if (focus && IsComboBox(focus)) {
        HWND combo = focus;
        wchar_t name[32] = {};
        GetClassNameW(combo, name, 31);
        if (lstrcmpiW(name, L"ComboBox") != 0) combo = GetParent(combo);
        if (combo && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) return false;
    }
    if (key == VK_TAB && (modifiers & ~kKeyShift) == 0) {
        MoveTab(mainWindow, (modifiers & kKeyShift) != 0);
        return true;
    }
    const KeyEntry *entry = FindKeyEntry(g_program.keys, g_program.keyCount, key, modifiers,
                                         focus && IsComboBox(focus));
    if (!entry) return false;
    if (entry->barCommand)
        PressBarCommand(mainWindow, entry->barCommand);
    else if (entry->run)
        entry->run(mainWindow);
    // An Alt key goes on to the default handling too, which would otherwise
    // take the lone Alt for the window menu when it is let go.
    return (modifiers & kKeyAlt) == 0;
}

void RememberFocus(HWND mainWindow)
{
    HWND focus = GetFocus();
    if (focus && focus != mainWindow && IsChild(mainWindow, focus)) g_lastFocus = focus;
}

void RestoreFocus(HWND mainWindow)
{
    if (g_lastFocus && IsChild(mainWindow, g_lastFocus) && Usable(g_lastFocus)) {
        SetFocus(g_lastFocus);
        return;
    }
    FocusProgramList(mainWindow);
}

void FocusProgramList(HWND mainWindow)
{
    HWND list = ProgramListWindow();
    if (!list || !IsChild(mainWindow, list)) return;
    g_lastFocus = list;
    // Only when this window holds the keyboard: a window in the background
    // takes the focus back from g_lastFocus when it is activated.
    if (GetActiveWindow() == mainWindow) SetFocus(list);
}

void MoveFocusOffBeforeDisabling(HWND control)
{
    if (!control || !g_hMainWnd) return;
    if (GetFocus() == control) FocusProgramList(g_hMainWnd);
    if (g_lastFocus == control) g_lastFocus = ProgramListWindow();
}

void HandFocusBack(HWND control)
{
    if (!control || !g_hMainWnd || !Usable(control)) return;
    g_lastFocus = control;
    if (GetActiveWindow() == g_hMainWnd) SetFocus(control);
}

void SelectAllListRows(HWND list)
{
    if (!list) return;
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}
