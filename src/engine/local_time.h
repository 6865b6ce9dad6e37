#pragma once
// The one place where local time and the UTC file times of the file system
// are converted into each other; every caller goes through here.
//
// NTFS keeps UTC, and the shell of Windows Vista and later shows each stored
// time with the daylight-saving rule of that time's own date. FAT keeps local
// time, which the system turns into UTC with the bias in force now, in both
// directions; older systems show every time with the bias in force now. So
// the rule follows the windows kind and the kind of volume, and the time the
// user picks is the time the shell shows.
//
// A local time that does not exist (the hour skipped in spring) or exists
// twice (the hour repeated in autumn) gets the system's own answer for that
// date, the one TzSpecificLocalTimeToSystemTime gives.
#include <windows.h>

#include <string>

enum class TimeRule {
    CurrentBias,  // the bias in force at the moment of the call
    RuleOfTheDate // the time zone's rule on the date being converted
};

// The rule for times on a volume that keeps UTC (NTFS) or local time (FAT),
// under the running windows kind.
TimeRule TimeRuleFor(bool volumeKeepsUtc);
// The rule for an item, from its volume (a path with a drive or share root;
// anything else is taken as a volume that keeps UTC).
TimeRule TimeRuleForPath(const std::wstring &path);

// False when the local time is not a valid date and time or does not convert;
// *utc is then left untouched and must not be used.
bool LocalTimeToFileTime(const SYSTEMTIME &local, FILETIME *utc, TimeRule rule);
// False when the file time does not convert; *local is then left untouched.
bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local, TimeRule rule);

// The date-time text of the language mode for a stored time shown under the
// rule; empty when the time does not convert.
void FormatItemTime(const FILETIME &utc, TimeRule rule, char (&text)[32]);

// The same under the bias in force now (kept for callers that have not been
// given the item's rule).
bool LocalTimeToFileTime(const SYSTEMTIME &local, FILETIME *utc);
bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local);
