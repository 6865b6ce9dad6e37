#include "date_time_selector.h"

#include <cstring>
#include <cwchar>
#include <string>

#include "display_scale.h"
#include "labels_layout.h"
#include "main_window.h"
#include "program_table.h"
#include "scoped_gdi.h"

HWND g_dateTimeLists[kTimeFieldCount] = {};
HWND g_hIncludeBox = nullptr;

namespace {

// Value of entry 0 and number of entries of each list; entry i carries the
// value first + i (the day list is rebuilt by AdjustDayList).
constexpr int kFirstValue[kTimeFieldCount] = {1980, 1, 1, 0, 0, 0};
constexpr int kEntryCount[kTimeFieldCount] = {100, 12, 31, 24, 60, 60};

LRESULT SendToList(TimeField list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(g_dateTimeLists[list], message, wParam, lParam);
}

// Selects the entry of a value; a value the list does not offer (a year
// before 1980, a day the month lacks) leaves the list without a selection.
void SelectValue(TimeField list, int value)
{
    int index = value - kFirstValue[list];
    int count = static_cast<int>(SendToList(list, CB_GETCOUNT));
    if (index < 0 || index >= count) index = -1;
    SendToList(list, CB_SETCURSEL, static_cast<WPARAM>(index));
}

void FillList(TimeField list, int count)
{
    SendToList(list, CB_RESETCONTENT);
    for (int i = 0; i < count; ++i) {
        const std::wstring text = std::to_wstring(kFirstValue[list] + i);
        SendToList(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

// The number shown in the face of a list (its selected entry); 0 when none.
int ShownValue(TimeField list)
{
    wchar_t text[kTimeFieldSize] = {};
    SendToList(list, WM_GETTEXT, 14, reinterpret_cast<LPARAM>(text));
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}

} // namespace

void FillDateTimeLists()
{
    for (int list = 0; list < kTimeFieldCount; ++list)
        FillList(static_cast<TimeField>(list), kEntryCount[list]);

    SYSTEMTIME now = {};
    GetLocalTime(&now);
    WriteTimeField(g_targetTime[kYear], now.wYear);
    WriteTimeField(g_targetTime[kMonth], now.wMonth);
    WriteTimeField(g_targetTime[kDay], now.wDay);
    WriteTimeField(g_targetTime[kHour], now.wHour);
    WriteTimeField(g_targetTime[kMinute], now.wMinute);
    WriteTimeField(g_targetTime[kSecond], now.wSecond);
    for (int field = 0; field < kTimeFieldCount; ++field) {
        std::memset(g_rememberedTime[field], 0, kTimeFieldSize);
        std::memcpy(g_rememberedTime[field], g_targetTime[field], kTimeFieldSize);
    }
}

void ShowRememberedTime()
{
    for (int list = 0; list < kTimeFieldCount; ++list)
        SelectValue(static_cast<TimeField>(list), ReadTimeField(g_rememberedTime[list]));
}

void OnDateTimeListCommand(TimeField list, int notification)
{
    if (notification != CBN_SELCHANGE) return;
    LRESULT selected = SendToList(list, CB_GETCURSEL);
    if (selected == CB_ERR) {
        // A list without a selection falls back on the start-up time.
        SelectValue(list, ReadTimeField(g_rememberedTime[list]));
        return;
    }
    LRESULT length = SendToList(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected));
    if (length < 0 || length >= kTimeFieldSize) return;
    wchar_t text[kTimeFieldSize] = {};
    SendToList(list, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
    WriteTimeField(g_targetTime[list], static_cast<int>(std::wcstol(text, nullptr, 10)));
}

void AdjustDayList()
{
    int day = ShownValue(kDay);
    int month = ShownValue(kMonth);
    int year = ShownValue(kYear);
    // A month list without a selection reads as 0 and gets February's length.
    int days = (month >= 1 && month <= 12) ? DaysInMonth(year, month) : 28 + IsLeapYear(year);

    FillList(kDay, days);
    if (day <= days) {
        SendToList(kDay, CB_SETCURSEL, static_cast<WPARAM>(day - 1));
    } else {
        // The chosen day does not exist in this month: take its last day.
        SendToList(kDay, CB_SETCURSEL, static_cast<WPARAM>(days - 1));
        WriteTimeField(g_targetTime[kDay], days);
    }
}

void ReadTargetTime()
{
    for (int field = 0; field < kTimeFieldCount; ++field) {
        TimeField list = static_cast<TimeField>(field);
        std::memset(g_targetTime[field], 0, kTimeFieldSize);
        LRESULT selected = SendToList(list, CB_GETCURSEL);
        if (selected == CB_ERR)
            std::memcpy(g_targetTime[field], g_rememberedTime[field], kTimeFieldSize);
        else
            WriteTimeField(g_targetTime[field], static_cast<int>(selected) + kFirstValue[field]);
    }
}

namespace {

// Selects a date and time in the six lists. The day list takes the month's
// length first: a day beyond the list's end would show as no day, and the
// run would take another one than the user picked.
void SelectDateTime(const DateTime &t)
{
    SelectValue(kYear, t.year);
    SelectValue(kMonth, t.month);
    if (t.month >= 1 && t.month <= 12) FillList(kDay, DaysInMonth(t.year, t.month));
    SelectValue(kDay, t.day);
    SelectValue(kHour, t.hour);
    SelectValue(kMinute, t.minute);
    SelectValue(kSecond, t.second);
}

} // namespace

void ReapplyDateTimeSelection()
{
    if (g_controlsReady != 1) return;
    SelectDateTime(ReadTimeFields(g_targetTime));
}

void ShowTimeInLists(const SYSTEMTIME &time)
{
    DateTime shown;
    shown.year = time.wYear;
    shown.month = time.wMonth;
    shown.day = time.wDay;
    shown.hour = time.wHour;
    shown.minute = time.wMinute;
    shown.second = time.wSecond;
    SelectDateTime(shown);
}

void DrawDateTimeItem(const DRAWITEMSTRUCT &item)
{
    // A pure focus change draws nothing: no focus rectangle on these lists.
    if (!(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) return;

    RECT textRect = item.rcItem;
    InflateRect(&textRect, -Scale(2), 0);

    wchar_t text[64] = {};
    int list = static_cast<int>(item.CtlID) - g_program.firstListId;
    if (list >= 0 && list < kTimeFieldCount && item.itemID != static_cast<UINT>(-1)) {
        HWND control = g_dateTimeLists[list];
        LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, item.itemID, 0);
        if (length >= 0 && length < 64)
            SendMessageW(control, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    }

    ScopedSelectedFont font(item.hDC, TextFont());
    DrawTextW(item.hDC, text, static_cast<int>(std::wcslen(text)), &textRect, 0);
}

void MeasureDateTimeItem(MEASUREITEMSTRUCT &item)
{
    item.itemHeight = Scale(14);
}

void ToggleIncludeSubfolders()
{
    // A plain check box: it changes only here, together with the flag.
    if (SendMessageW(g_hIncludeBox, BM_GETCHECK, 0, 0) == BST_UNCHECKED) {
        SendMessageW(g_hIncludeBox, BM_SETCHECK, BST_CHECKED, 0);
        g_includeSubfolders = 1;
    } else {
        SendMessageW(g_hIncludeBox, BM_SETCHECK, BST_UNCHECKED, 0);
        g_includeSubfolders = 0;
    }
}

// The year and the month decide the length of the day list, so every
// notification of theirs (focus and drop-down included) rebuilds it.
void YearListCommand(HWND, WPARAM wParam)
{
    OnDateTimeListCommand(kYear, HIWORD(wParam));
    AdjustDayList();
}

void MonthListCommand(HWND, WPARAM wParam)
{
    OnDateTimeListCommand(kMonth, HIWORD(wParam));
    AdjustDayList();
}

void DayListCommand(HWND, WPARAM wParam) { OnDateTimeListCommand(kDay, HIWORD(wParam)); }
void HourListCommand(HWND, WPARAM wParam) { OnDateTimeListCommand(kHour, HIWORD(wParam)); }
void MinuteListCommand(HWND, WPARAM wParam) { OnDateTimeListCommand(kMinute, HIWORD(wParam)); }
void SecondListCommand(HWND, WPARAM wParam) { OnDateTimeListCommand(kSecond, HIWORD(wParam)); }
void IncludeSubfoldersCommand(HWND, WPARAM) { ToggleIncludeSubfolders(); }
