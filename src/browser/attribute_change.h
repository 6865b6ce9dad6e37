#pragma once
#include <windows.h>

// Command Attributes: read-only, hidden, system and archive of the selected items.
void ChangeAttributesCommand(HWND mainWindow);
