#pragma once
// Change Timestamp: writes the target time onto the chosen items. Each
// program defines the command and its run over its own list; what the runs
// show the user is shared: the question asked before every change, the wait
// cursor, and the message of a clock that could not be set back.
#include <windows.h>

#include <string>

#include "target_time.h"

void TimestampChangeCommand(HWND mainWindow);

// The confirmation text for the target: the question, the date-time text and,
// for an odd second, the line telling that FAT keeps the second below it.
std::wstring BuildConfirmationText(const DateTime &target);
// Asks for confirmation of the target time fields; true on Yes.
bool ConfirmTimestampChange(HWND owner);

// The cursor that was current before the run set the wait cursor.
extern HCURSOR g_savedCursor;
// Puts the arrow back unless the cursor is already the one the run found.
void RestoreArrowCursor();

// The message of a clock that could not be set back, naming what it shows now.
void ShowClockNotPutBack(HWND owner);
