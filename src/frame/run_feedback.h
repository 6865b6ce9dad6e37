#pragma once
// What the main window does around a change run: the run's journal, the
// progress in the title (and so on the taskbar), messages answered between
// items, and Esc or the close box asking whether to stop. Also Undo, the
// window menu's "Undo last change".
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "journal.h"
#include "run_progress.h"

// The window-menu command of Undo, the same in both programs.
constexpr UINT kUndoCommand = 0x0110;

// Runs one change. Its journal opens first; the chosen items, and all that
// count() meets as it counts the run's items, are written down and on the
// disk before run() starts. When the journal cannot be written, a message
// says so and nothing runs (false). While run() works the window stays alive
// and shows its progress; RunStopped() tells afterwards whether the user
// stopped it.
bool RunWithJournal(HWND mainWindow, JournalKind kind, AfterChange after,
                    const std::vector<std::wstring> &chosenItems,
                    const std::function<std::size_t()> &count, const std::function<void()> &run);

// Between two items of a run: the title shows the progress, and the window
// answers what waits for it; keys and clicks wait for the end of the run,
// except Esc. False once the user asked to stop.
bool BetweenRunItems(std::size_t done, std::size_t total);
// What runs call between items; BetweenRunItems unless a test wraps it.
extern BetweenItems g_runPump;

// Esc or the close box during a run: asks, and stops the run between two items on Yes.
void AskToStopRun(HWND owner);
// The closing message of a stopped run.
void ShowStoppedMessage(HWND owner);

// The window menu gets "Undo last change".
void AddUndoToWindowMenu(HWND mainWindow);
// Undo last change: asks, naming the run, puts back what it can, and says
// what it put back and what it could not.
void UndoLastChange(HWND mainWindow);
// The title text of a run's progress: "<title> 1,234 / 6,145".
std::wstring ProgressTitle(const std::wstring &title, std::size_t done, std::size_t total);
// A count with its thousands grouped by commas.
std::wstring GroupedCount(std::size_t count);

// Each program's own: its list shows what Undo put back.
void RefreshAfterUndo(HWND mainWindow);
