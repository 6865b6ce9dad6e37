#pragma once
// The one place where local time and the UTC file times of the file system
// are converted into each other, so the rule for the bias lives in one spot.
// For now the bias in force at the moment of the call is applied (daylight
// saving as it is now, not as it was or will be on the date itself).
#include <windows.h>

// False when the local time is not a valid date and time or does not convert;
// *utc is then left untouched and must not be used.
bool LocalTimeToFileTime(const SYSTEMTIME &local, FILETIME *utc);
// False when the file time does not convert; *local is then left untouched.
bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local);
