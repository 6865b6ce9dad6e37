#pragma once
// Stand-in for the main window's declarations until the frame is merged.
#include <windows.h>

constexpr int kPathSize = 258;
constexpr UINT kMsgQuitInstance = WM_USER + 200;
constexpr UINT kMsgListReady = WM_USER + 204;
constexpr UINT kMsgCreateListView = WM_USER + 210;

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;
