#pragma once
// The main window from the keyboard: Tab and Shift+Tab through the controls
// in reading order, the keys of each program's table, and the focus kept
// where a keyboard user left it across message boxes and runs.

#include <windows.h>

#include <vector>

#include "keyboard_table.h"

// Where one stop of the tab order lives.
enum class TabStopKind {
    MainChild,    // a child of the main window, by control id
    BarButton,    // a button of the bar, by control id
    ProgramList   // the program's list view
};
struct TabStop {
    TabStopKind kind;
    int id;
};

// The stops of the tab order as windows, in order; a stop that does not
// exist (yet) is null.
std::vector<HWND> TabStopWindows(HWND mainWindow);

// For the message loop: true when the message was a key of the main window
// that was handled here (it is then neither translated nor dispatched).
bool HandleMainWindowKey(HWND mainWindow, const MSG &message);
// The same with the modifier keys (kKeyCtrl...) given instead of read.
bool HandleMainWindowKeyWith(HWND mainWindow, const MSG &message, int modifiers);

// Presses a bar command as a click does: refused while its button is
// disabled (an empty drop list, a run going on).
void PressBarCommand(HWND mainWindow, int command);

// WM_ACTIVATE with WA_INACTIVE: the control with the focus is remembered...
void RememberFocus(HWND mainWindow);
// ...and WM_SETFOCUS of the main window gives it back; the program's list
// when that control is gone, hidden or disabled.
void RestoreFocus(HWND mainWindow);
// The list gets the focus (first focus, and after a control lost it).
void FocusProgramList(HWND mainWindow);
// A control about to be disabled hands the focus to the list first, so the
// keyboard is never left with nowhere to go.
void MoveFocusOffBeforeDisabling(HWND control);

// After a run: the control that had the focus before it gets it back.
void HandFocusBack(HWND control);

// Select all rows of a report list (Ctrl+A).
void SelectAllListRows(HWND list);
