#pragma once
#include <windows.h>

// The About box with the program name, version and the ReadMe button.
void ShowAboutBox(HWND mainWindow);
