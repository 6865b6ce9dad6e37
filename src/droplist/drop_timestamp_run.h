#pragma once
// Change Timestamp of klokan98: every row of the drop list, selected or not.
#include <windows.h>

// Changes every row after its own drive checks and shows one closing message.
void RunTimestampChange(HWND mainWindow);
// Rewrites the Modified column of every row from the file system.
void RefreshListColumns();
