#pragma once
// What the drop list uses from the main window, the date-time lists, the
// button bar and the engine, declared here until their own headers are in.
#include <windows.h>

void ShowTimeInLists(const SYSTEMTIME &time);
void ShowRememberedTime();
void UpdateDropButtons(int hasItems);
bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local);
