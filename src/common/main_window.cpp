#include "main_window.h"

HINSTANCE g_hInstance = nullptr;
HWND g_hMainWnd = nullptr;
COLORREF g_btnFaceColor = 0;
int g_btnFaceColorSet = 0;
char g_programPath[kPathSize] = {};
char g_readmePath[kPathSize] = {};
