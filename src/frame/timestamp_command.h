#pragma once
// Change Timestamp: writes the target time onto the chosen items. Each
// program defines the command and its run over its own list; the question
// asked before every change is shared.
#include <windows.h>

#include <cstddef>

#include "target_time.h"

void TimestampChangeCommand(HWND mainWindow);

// The confirmation text for the target: the question, the date-time text and,
// for an odd second, the line telling that FAT keeps the second below it.
void BuildConfirmationText(const DateTime &target, char *out, std::size_t size);
// Asks for confirmation of the target time fields; true on Yes.
bool ConfirmTimestampChange(HWND owner);
