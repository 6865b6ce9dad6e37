#pragma once
#include <windows.h>

// Change Timestamp: writes the target time onto the chosen items.
void TimestampChangeCommand(HWND mainWindow);
