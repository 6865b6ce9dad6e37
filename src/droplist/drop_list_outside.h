#pragma once
// The engine's conversion of file times to local time, declared here until its own header is in.
#include <windows.h>

bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local);
