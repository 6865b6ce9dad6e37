#include "target_time.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "language.h"

TimeFields g_targetTime = {};
TimeFields g_rememberedTime = {};

void WriteTimeField(char (&field)[kTimeFieldSize], int value)
{
    std::memset(field, 0, sizeof field);
    std::snprintf(field, sizeof field, "%d", value);
}

int ReadTimeField(const char *field)
{
    // strtol skips white space, takes a sign and stops at the first non-digit.
    long value = std::strtol(field, nullptr, 10);
    if (value > 99999) return 99999;
    if (value < -99999) return -99999;
    return static_cast<int>(value);
}

DateTime ReadTimeFields(const TimeFields &fields)
{
    DateTime t;
    t.year = ReadTimeField(fields[kYear]);
    t.month = ReadTimeField(fields[kMonth]);
    t.day = ReadTimeField(fields[kDay]);
    t.hour = ReadTimeField(fields[kHour]);
    t.minute = ReadTimeField(fields[kMinute]);
    t.second = ReadTimeField(fields[kSecond]);
    return t;
}

int IsLeapYear(int year)
{
    return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 1 : 0;
}

int DaysInMonth(int year, int month)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2) return 28 + IsLeapYear(year);
    return kDays[month - 1];
}

bool IsValidDateTime(const DateTime &t)
{
    return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 &&
           t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 &&
           t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

void FormatDateTime(int year, int month, int day, int hour, int minute, int second,
                    char (&out)[kDateTimeTextSize])
{
    std::memset(out, 0, sizeof out);
    if (g_japaneseMode)
        std::snprintf(out, sizeof out, "%04d/%02d/%02d  %02d:%02d:%02d", year, month, day, hour,
                      minute, second);
    else
        std::snprintf(out, sizeof out, "%02d/%02d/%04d  %02d:%02d:%02d", month, day, year, hour,
                      minute, second);
}
