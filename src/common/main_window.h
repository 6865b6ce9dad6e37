#pragma once
// The main window's shared state that the bar and the About box read.

#include <windows.h>

constexpr int kPathSize = 258;

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;
extern COLORREF g_btnFaceColor;
extern int g_btnFaceColorSet;
extern char g_programPath[kPathSize];
extern char g_readmePath[kPathSize];
