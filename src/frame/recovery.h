#pragma once
// Runs cut off by the end of their process (a kill, a power cut, a forced
// log-off): found at the next start, or when a change finds the lock left
// by a process that ended holding it. Each is named to the user before
// anything else happens, what it left half-done is put together, and the
// user chooses between putting the run back (as Undo does) and leaving its
// items as they are.
#include <windows.h>

#include <string>

#include "undo.h"

// Recovers every run that was cut off, each with its own question; nothing
// happens while another process holds the change lock (its run is alive).
void RecoverUnfinishedRuns(HWND mainWindow);

// What a repair of cut-off steps did, as lines for a message (empty when
// there was nothing to repair).
std::wstring RepairNotes(const StepRepair &repair);
