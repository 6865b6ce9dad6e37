#pragma once
// The bar of six bitmap buttons at the top right of the main window and the
// caption that names the button under the pointer.

#include <windows.h>

#include "icon_bar_layout.h"

extern HWND g_hIconBar;

// One button of the bar: its window and the bitmap names of the current skin.
struct IconBarButton {
    HWND window;
    char upName[kBitmapNameSize];
    char downName[kBitmapNameSize];
    char inactiveName[kBitmapNameSize];
};
extern IconBarButton g_iconBarButtons[kBarButtons];

// 0: no caption shown; 1..6: the caption of button 1..6 is shown.
extern int g_captionState;
// The caption area in window-DC coordinates of the main window, both ends
// included; all 0 when no caption is shown.
extern RECT g_captionRect;
// The pixels under the caption: column left + j of row top + i at
// i * kCaptionSaveColumns + j.
extern COLORREF g_captionSaved[kCaptionSaveRows * kCaptionSaveColumns];
extern wchar_t g_captionText[32];

// The bar table of the running program.
const IconBarLayout &CurrentIconBar();
// Client row of the buttons' top edge, from the system's border height.
int BarButtonTop();

// Registers IconBarWindow and creates the bar as a child of the main window;
// without the class the program runs without a bar.
void CreateIconBar(HWND mainWindow);
LRESULT CALLBACK IconBarWndProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
// A new display scale: each button's place, size and bitmaps at g_dpi.
void LayOutIconBarButtons();
// Keeps the bar's top pixel row in the button-face colour.
void PaintBarTopLine(HWND bar);

// On every WM_SETCURSOR of the main window: shows, moves or removes the caption.
void UpdateHoverCaption(HWND mainWindow);
// Before every bar command: takes the caption away.
void RemoveHoverCaption(HWND mainWindow);
// After Execute Explorer: counts the caption of button n as shown while
// nothing is drawn, so it does not come back until the pointer leaves the button.
void HoldHoverCaption(int n);
void SaveCaptionPixels(HDC dc);
void RestoreCaptionPixels(HDC dc);

// Enables the drop list's Delete Files, Delete All and Change Timestamp
// buttons exactly when the list has rows (not while the bar is busy).
void UpdateDropButtons(int hasItems);
// While a change runs, every button looks and is disabled; afterwards each
// is as it was.
void SetBarBusy(bool busy);
