#pragma once
// Deciding the language mode and the windows kind at start-up.
#include <windows.h>

#include "language.h"

// Sets g_japaneseMode from the system's ANSI code page (932 is Japanese).
void DetectLanguage(HWND mainWindow);
// Sets g_windowsKind from the system's version texts; leaves it alone when none can be read.
void DetectWindowsKind();
