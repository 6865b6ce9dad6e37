#pragma once
// The bar of six bitmap buttons at the top right of the main window and the
// caption that names the button under the pointer.

#include <windows.h>

extern HWND g_hIconBar;
// 0: no caption shown; 1..6: the caption of button 1..6 is shown.
extern int g_captionState;

// Registers IconBarWindow and creates the bar as a child of the main window;
// without the class the program runs without a bar.
void CreateIconBar(HWND mainWindow);
// On every WM_SETCURSOR of the main window: shows, moves or removes the caption.
void UpdateHoverCaption(HWND mainWindow);
// Before every bar command: takes the caption away.
void RemoveHoverCaption(HWND mainWindow);
// Enables the drop list's Delete Files, Delete All and Change Timestamp
// buttons exactly when the list has rows.
void UpdateDropButtons(int hasItems);
