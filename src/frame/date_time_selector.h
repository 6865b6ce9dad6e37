#pragma once
// The six owner-drawn lists that choose the target time, and the
// "Include subfolders." check box.

#include <windows.h>

#include "target_time.h"

// Year, month, day, hour, minute, second lists (created by CreateMainControls).
extern HWND g_dateTimeLists[kTimeFieldCount];
extern HWND g_hIncludeBox;

// Fills the six lists and sets the target and remembered time to the local time.
void FillDateTimeLists();
// Selects the remembered time in the six lists.
void ShowRememberedTime();
// A notification from one list; only CBN_SELCHANGE is acted on.
void OnDateTimeListCommand(TimeField list, int notification);
// Rebuilds the day list for the month and year shown, keeping the day inside it.
void AdjustDayList();
// Copies the six selections into the target time (remembered values for a
// list without a selection).
void ReadTargetTime();
// Selects the target time in the lists; nothing until the lists are ready.
void ReapplyDateTimeSelection();
// Shows a time in the lists without making it the target time.
void ShowTimeInLists(const SYSTEMTIME &time);
void DrawDateTimeItem(const DRAWITEMSTRUCT &item);
void MeasureDateTimeItem(MEASUREITEMSTRUCT &item);
// Flips the check box and g_includeSubfolders together.
void ToggleIncludeSubfolders();

// WM_COMMAND entries shared by both programs' dispatch tables.
void YearListCommand(HWND mainWindow, WPARAM wParam);
void MonthListCommand(HWND mainWindow, WPARAM wParam);
void DayListCommand(HWND mainWindow, WPARAM wParam);
void HourListCommand(HWND mainWindow, WPARAM wParam);
void MinuteListCommand(HWND mainWindow, WPARAM wParam);
void SecondListCommand(HWND mainWindow, WPARAM wParam);
void IncludeSubfoldersCommand(HWND mainWindow, WPARAM wParam);
