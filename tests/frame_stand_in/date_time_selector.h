#pragma once
// Stand-in for the date-time lists until the frame is merged.
#include <windows.h>

void ShowTimeInLists(const SYSTEMTIME &time);
