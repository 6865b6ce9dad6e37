#pragma once
#include <windows.h>

// Command Execute Explorer: brings the shell's Explorer to the front or starts it.
void ExecuteExplorer(HWND mainWindow);
