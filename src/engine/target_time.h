#pragma once
// The local date and time that the next change writes, kept as six short
// decimal texts (the target time), and the local time at start-up (the
// remembered time). No window code here, so it is tested directly.

constexpr int kTimeFieldSize = 16;
constexpr int kDateTimeTextSize = 32;

enum TimeField { kYear, kMonth, kDay, kHour, kMinute, kSecond, kTimeFieldCount };

using TimeFields = char[kTimeFieldCount][kTimeFieldSize];

extern TimeFields g_targetTime;
extern TimeFields g_rememberedTime;

// A broken-down local date and time; plain ints so that out-of-range values
// coming from the fields can be held and refused.
struct DateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Clears the field to zero bytes, then writes value in decimal (no leading zeros).
void WriteTimeField(char (&field)[kTimeFieldSize], int value);
// Decimal conversion as the C library does it: white space, sign, digits; "" is 0.
int ReadTimeField(const char *field);
// The six target (or remembered) fields as numbers.
DateTime ReadTimeFields(const TimeFields &fields);

int IsLeapYear(int year);
// Days of the month (1..12) in the given year; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// True when the date and time exist in the calendar the file system can store
// (years 1601..30827, real month length, hours 0..23, minutes and seconds 0..59).
bool IsValidDateTime(const DateTime &t);

// The one date-time text of the system in the current language mode:
// English "MM/DD/YYYY  hh:mm:ss", Japanese "YYYY/MM/DD  hh:mm:ss".
void FormatDateTime(int year, int month, int day, int hour, int minute, int second,
                    char (&out)[kDateTimeTextSize]);
