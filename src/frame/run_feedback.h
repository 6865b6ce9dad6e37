#pragma once
// What the main window does around a change run: the machine's change lock,
// the run's journal, the progress in the title (and so on the taskbar),
// messages answered between items, Esc or the close box asking whether to
// stop, and the end of the session stopping the run between two items.
// Also Undo, the window menu's "Undo last change".
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "change_lock.h"
#include "journal.h"
#include "run_progress.h"
#include "undo.h"

// The window-menu command of Undo, the same in both programs.
constexpr UINT kUndoCommand = 0x0110;

// What a turn at changing is for.
enum class TurnPurpose {
    Change,   // a command or Undo: a busy lock is told, runs left by a process that ended are recovered first
    Recovery  // recovery itself: a busy lock means a live run elsewhere, and nothing is said
};

// This window's turn at changing anything on the machine: holds the change
// lock while in scope. Where another process holds it, a message names that
// process's window and nothing may change (Held() is false). Where the
// process that held it before ended without letting go, the runs it left
// are recovered first.
struct ChangeTurn {
    explicit ChangeTurn(HWND window, TurnPurpose purpose = TurnPurpose::Change);
    ~ChangeTurn();
    ChangeTurn(const ChangeTurn &) = delete;
    ChangeTurn &operator=(const ChangeTurn &) = delete;
    bool Held() const { return hold.Held(); }
    HWND window;
    ChangeLockHold hold;
};

// How a run went, as far as its command must still tell.
enum class RunEnd {
    Refused,   // nothing changed, and a message has said why
    Finished,  // the command tells its result
    Stopped,   // stopped on request (between items, or while counting)
    BrokeOff   // its journal could no longer be written: a message has said so
};

// Runs one change in this window's turn. Its journal opens first; the chosen
// items, and all that count() meets as it counts the run's items, are
// written down and on the disk before run() starts. From its first moment
// the window answers, shows what the run is doing in its title, and takes
// Esc as a request to stop.
RunEnd RunWithJournal(HWND mainWindow, JournalKind kind, AfterChange after,
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

// The end of the session asks (WM_QUERYENDSESSION): during a run the answer
// is no, with the run and its progress as the reason, and the run stops at
// the next item. True when the session may end.
bool AllowSessionEnd(HWND mainWindow);
// The session ends (WM_ENDSESSION with TRUE): a run stops where it stands,
// between two items, and its journal is closed before the window goes.
void OnSessionEnding(HWND mainWindow);

// The window menu gets "Undo last change".
void AddUndoToWindowMenu(HWND mainWindow);
// Undo last change: asks, naming the run, puts back what it can, and says
// what it put back and what it could not.
void UndoLastChange(HWND mainWindow);
// The journal's entries checked against the items as they stand, the window
// answering meanwhile; plan.stopped when the user stopped the check.
UndoPlan CheckJournal(HWND mainWindow, const JournalFile &journal, UndoOutcome *outcome);
// Puts back the planned items of a journal with the run's feedback, and
// shows the report, notes appended. For Undo and for recovery.
void RunUndo(HWND mainWindow, const JournalFile &journal, const UndoPlan &plan, UndoOutcome outcome,
             const std::wstring &notes);
// The run as the messages name it: "Change Timestamp, 6,145 items, 2026-12-07 22:41".
std::wstring RunName(const JournalFile &journal);
// The title text of a run's progress: "<title> 1,234 / 6,145".
std::wstring ProgressTitle(const std::wstring &title, std::size_t done, std::size_t total);
// A count with its thousands grouped by commas.
std::wstring GroupedCount(std::size_t count);

// Each program's own: its list shows what Undo put back.
void RefreshAfterUndo(HWND mainWindow);
