#pragma once
// Stand-in for the list container until the frame is merged.
#include <windows.h>

HWND CreateContainerWindow(HWND mainWindow, WNDPROC procedure, DWORD extendedStyle);
void DestroyListContainer(HWND mainWindow);
