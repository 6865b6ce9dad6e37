#pragma once
// The painted labels of the main window and the places of its controls.

#include <windows.h>

struct PaintedLabel;

// Places in the main window's client area at g_dpi, in the current language
// mode and windows kind: date-time list 0..5 (with its drop-down part), the
// "Include subfolders." box, and the top left of a painted label.
RECT DateTimeListPlace(int list);
RECT IncludeBoxPlace();
POINT LabelPlace(const PaintedLabel &label);
// A painted label's text in the current language.
const wchar_t *LabelText(const PaintedLabel &label);

// The font of the labels and of the date-time list entries in the current
// language mode and windows kind.
LOGFONTW TextFont();

// Start-up step 1225: moves the bar from its creation place to its own.
void PlaceIconBar();
// Start-up step 1226: the six date-time lists and the "Include subfolders." box.
void CreateMainControls(HWND mainWindow);
// Every WM_PAINT: all labels, in full, through the window's client DC.
void PaintLabels(HWND mainWindow);
// After step 1226: each control whose label is painted gets a hidden label
// of the same text just before it, where screen readers look for its name.
void NameControlsByLabels(HWND mainWindow);
// The hidden label that names a control, or null.
HWND NamingLabelOf(HWND control);
