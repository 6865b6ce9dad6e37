#include "run_feedback.h"

#include <shellapi.h>

#include <cstdio>

#include "icon_bar.h"
#include "item_access.h"
#include "language.h"
#include "main_window.h"
#include "messages.h"
#include "recovery.h"
#include "report_box.h"
#include "run_progress.h"
#include "undo.h"

namespace {

// The title is rewritten at most this often: often enough to be read as
// moving, rarely enough to cost nothing.
constexpr DWORD kTitleEveryMs = 200;
// Set on the main window while its process holds the change lock, so that
// another program can name the window whose change runs.
constexpr wchar_t kChangeProperty[] = L"Retempo.ChangeRunning";

struct Feedback {
    HWND window = nullptr;
    std::wstring title;
    std::wstring command;  // the run's command, for the reason that holds the session
    Msg firstPhase = Msg::CountingTitle;  // what the title says before the items change
    DWORD lastTitle = 0;
    bool stopAsked = false;
    bool asking = false;  // the stop question is up
    bool stoppedCounting = false;
    bool sessionHeld = false;
} g_feedback;

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// A function of user32 bound at run time, null where the system lacks it:
// systems before Vista cannot name a reason for holding the session.
template <typename Function>
Function UserFunction(const char *name)
{
    HMODULE user = GetModuleHandleA("user32.dll");
    FARPROC entry = user ? GetProcAddress(user, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

void HoldSession(HWND window, const std::wstring &reason)
{
    using CreateFn = BOOL(WINAPI *)(HWND, LPCWSTR);
    static const CreateFn create = UserFunction<CreateFn>("ShutdownBlockReasonCreate");
    if (create && create(window, reason.c_str())) g_feedback.sessionHeld = true;
}

void ReleaseSession(HWND window)
{
    using DestroyFn = BOOL(WINAPI *)(HWND);
    static const DestroyFn destroy = UserFunction<DestroyFn>("ShutdownBlockReasonDestroy");
    if (g_feedback.sessionHeld && destroy) destroy(window);
    g_feedback.sessionHeld = false;
}

BOOL CALLBACK TakeChangeWindowTitle(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() || !GetPropW(window, kChangeProperty)) return TRUE;
    // Read without a message to that window, which may be busy with an item.
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    *reinterpret_cast<std::wstring *>(found) = text;
    return FALSE;
}

// The title of another process's window whose change holds the lock; empty
// when there is none this session can see.
std::wstring OtherChangeWindowTitle()
{
    std::wstring title;
    EnumWindows(TakeChangeWindowTitle, reinterpret_cast<LPARAM>(&title));
    return title;
}

}  // namespace

BetweenItems g_runPump = BetweenRunItems;

ChangeTurn::ChangeTurn(HWND mainWindow, TurnPurpose purpose) : window(mainWindow)
{
    const bool change = purpose == TurnPurpose::Change;
    if (!hold.Held()) {
        if (!change) return;
        std::wstring other = OtherChangeWindowTitle();
        if (other.empty()) other = MessageText(Msg::AnotherWindow);
        ShowMessageFormatted(window, Msg::ChangeRunningElsewhere, {other});
        return;
    }
    if (window) SetPropW(window, kChangeProperty, reinterpret_cast<HANDLE>(1));
    if (change && hold.take == LockTake::Abandoned) RecoverUnfinishedRuns(window);
}

ChangeTurn::~ChangeTurn()
{
    if (!hold.Held()) return;
    // The lock nests: the property goes with the last turn.
    ReleaseChangeLock();
    hold.take = LockTake::Busy;
    if (window && !ChangeLockHeld()) RemovePropW(window, kChangeProperty);
}

// A command must not start inside another: keys and clicks wait.
bool BetweenRunItems(std::size_t done, std::size_t total)
{
    if (g_feedback.window && GetTickCount() - g_feedback.lastTitle >= kTitleEveryMs) {
        const std::wstring title =
            RunCounting() ? FillPlaceholders(MessageText(g_feedback.firstPhase),
                                             {g_feedback.title, GroupedCount(done)})
                          : ProgressTitle(g_feedback.title, done, total);
        SetWindowTextW(g_feedback.window, title.c_str());
        g_feedback.lastTitle = GetTickCount();
    }
    MSG message;
    while (!g_feedback.stopAsked && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Asked to end: the run stops, and the loop gets the request back.
            PostQuitMessage(static_cast<int>(message.wParam));
            g_feedback.stopAsked = true;
            break;
        }
        // Esc, and Alt+F4 as the close box does, ask whether to stop.
        if ((message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) ||
            (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4)) {
            AskToStopRun(g_feedback.window);
            continue;
        }
        if (IsInput(message.message)) continue;
        // A drop would add rows under a run that reads them: it is refused.
        if (message.message == WM_DROPFILES) {
            DragFinish(reinterpret_cast<HDROP>(message.wParam));
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return !g_feedback.stopAsked;
}

namespace {

std::wstring CommandName(JournalKind kind, bool isUndo)
{
    if (isUndo) return MessageText(Msg::RunUndo);
    switch (kind) {
    case JournalKind::Attributes: return MessageText(Msg::RunAttributes);
    case JournalKind::Letters: return MessageText(Msg::RunLetters);
    case JournalKind::Timestamp: break;
    }
    return MessageText(Msg::RunTimestamp);
}

// The run's feedback from its first moment: the window answers while the
// items are counted (or a journal is checked), then shows its progress.
void BeginRunFeedback(HWND mainWindow, const std::wstring &command, Msg firstPhase)
{
    g_feedback = Feedback();
    g_feedback.window = mainWindow;
    g_feedback.command = command;
    g_feedback.firstPhase = firstPhase;
    if (mainWindow) {
        wchar_t title[256] = {};
        GetWindowTextW(mainWindow, title, 256);
        g_feedback.title = title;
        // Keys pressed before the run began were meant for what came before
        // it: an Esc among them is no request to stop.
        MSG key;
        while (PeekMessageW(&key, mainWindow, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
    }
    g_betweenItems = g_runPump;
    BeginRunProgress();
    g_feedback.lastTitle = GetTickCount() - kTitleEveryMs;
    SetBarBusy(true);
}

void EndRunFeedback()
{
    EndRunProgress();
    g_betweenItems = nullptr;
    SetBarBusy(false);
    if (g_feedback.window) {
        ReleaseSession(g_feedback.window);
        SetWindowTextW(g_feedback.window, g_feedback.title.c_str());
    }
    g_feedback.window = nullptr;
}

std::wstring DateTimeText(const SYSTEMTIME &time)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute);
    return text;
}

// One list of Undo's report under its heading, in the form of a run's report.
void AppendNames(ReportText &text, Msg heading, const std::vector<std::wstring> &names)
{
    if (names.empty()) return;
    text.shown += MessageText(heading);
    text.whole += MessageText(heading);
    std::vector<std::wstring> lines;
    for (const std::wstring &name : names) lines.push_back(L"\n   " + name);
    AppendReportLines(text, lines);
}

void ShowJournalFailure(HWND owner)
{
    ShowMessageFormatted(owner, Msg::JournalFailure, {JournalFolder()});
}

RunOutcome OutcomeOfRun()
{
    if (JournalBroken() || RunBrokeOff()) return RunOutcome::Failed;
    return RunStopped() ? RunOutcome::Stopped : RunOutcome::Completed;
}


}  // namespace

std::wstring RunName(const JournalFile &journal)
{
    Msg kind = Msg::UndoRunTimestamp;
    if (journal.kind == JournalKind::Attributes) kind = Msg::UndoRunAttributes;
    if (journal.kind == JournalKind::Letters) kind = Msg::UndoRunLetters;
    const std::wstring name = FillPlaceholders(
        MessageText(kind), {GroupedCount(journal.entries.size()), DateTimeText(journal.started)});
    return journal.isUndo ? FillPlaceholders(MessageText(Msg::UndoRunUndo), {name}) : name;
}

UndoPlan CheckJournal(HWND mainWindow, const JournalFile &journal, UndoOutcome *outcome)
{
    BeginRunFeedback(mainWindow, CommandName(journal.kind, true), Msg::CheckingTitle);
    UndoPlan plan = PlanUndo(journal, outcome);
    EndRunFeedback();
    return plan;
}

std::wstring GroupedCount(std::size_t count)
{
    std::wstring digits = std::to_wstring(count);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, L",");
    return digits;
}

std::wstring ProgressTitle(const std::wstring &title, std::size_t done, std::size_t total)
{
    return title + L" " + GroupedCount(done) + L" / " + GroupedCount(total);
}

RunEnd RunWithJournal(HWND mainWindow, JournalKind kind, AfterChange after,
                      const std::vector<std::wstring> &chosenItems,
                      const std::function<std::size_t()> &count, const std::function<void()> &run)
{
    ChangeTurn turn(mainWindow);
    if (!turn.Held()) return RunEnd::Refused;
    // What earlier runs learnt of folders may have changed since: a folder
    // that was a link then and is a folder now must not pass its old answer on.
    ForgetFinalPathCache();
    BeginRunReport();
    BeginRunFeedback(mainWindow, CommandName(kind, false), Msg::CountingTitle);
    bool written = JournalBegin(kind, false, after);
    for (const std::wstring &item : chosenItems) written = written && JournalRecordItem(item);
    // One wait for the disk for all that counting met, not one per folder.
    JournalHoldSync(true);
    const std::size_t total = written ? count() : 0;
    JournalHoldSync(false);
    if (written && RunStopped()) {
        // Stopped while counting: nothing changed, and nothing is left to undo.
        EndRunFeedback();
        JournalDiscard();
        g_feedback.stoppedCounting = true;
        return RunEnd::Stopped;
    }
    written = written && JournalFlush();
    if (!written) {
        EndRunFeedback();
        JournalEnd(RunOutcome::Failed);
        ShowJournalFailure(mainWindow);
        return RunEnd::Refused;
    }
    SetRunTotal(total);
    run();
    EndRunFeedback();
    const RunOutcome outcome = OutcomeOfRun();
    JournalEnd(outcome);
    if (outcome == RunOutcome::Failed) {
        // Its own message, never the one of a stop the user asked for.
        ShowJournalFailure(mainWindow);
        return RunEnd::BrokeOff;
    }
    return outcome == RunOutcome::Stopped ? RunEnd::Stopped : RunEnd::Finished;
}

void AskToStopRun(HWND owner)
{
    // Asked once, however many requests come while the question is up.
    if (!RunGoingOn() || g_feedback.stopAsked || g_feedback.asking) return;
    g_feedback.asking = true;
    if (ShowMessage(owner, Msg::StopQuestion) == IDYES) g_feedback.stopAsked = true;
    g_feedback.asking = false;
}

void ShowStoppedMessage(HWND owner)
{
    if (g_feedback.stoppedCounting) {
        ShowMessage(owner, Msg::StoppedCounting);
        return;
    }
    const std::wstring first =
        FillPlaceholders(MessageText(Msg::Stopped), {GroupedCount(RunItemsDone()), GroupedCount(RunItemsLeft())});
    // What it reached and could not change is named as after any run.
    ReportText text;
    text.shown = text.whole = first;
    if (!ItemsNotChanged().empty()) text = RunReportText(first, ItemsChanged(), ItemsNotChanged());
    ShowReport(owner, Msg::Stopped, text);
}

bool AllowSessionEnd(HWND mainWindow)
{
    if (!RunGoingOn()) return true;
    g_feedback.stopAsked = true;
    HoldSession(mainWindow,
                FillPlaceholders(MessageText(Msg::BlockReason),
                                 {g_feedback.command, GroupedCount(RunItemsDone()),
                                  GroupedCount(RunItemsTotal())}));
    return false;
}

void OnSessionEnding(HWND)
{
    if (!RunGoingOn()) return;
    // Called between two items (the run's pump answers messages only
    // there): what is on the disk is a whole state, and the journal says so.
    g_feedback.stopAsked = true;
    JournalEnd(RunOutcome::Stopped);
    UndoMarksEnd();
}

void AddUndoToWindowMenu(HWND mainWindow)
{
    HMENU menu = GetSystemMenu(mainWindow, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kUndoCommand,
                g_japaneseMode ? L"最後の変更を元に戻す" : L"Undo last change");
}

void RunUndo(HWND mainWindow, const JournalFile &journal, const UndoPlan &plan, UndoOutcome outcome,
             const std::wstring &notes)
{
    HCURSOR kept = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    BeginRunFeedback(mainWindow, CommandName(journal.kind, true), Msg::CheckingTitle);
    SetRunTotal(plan.items.size());
    PutItemsBack(journal, plan, &outcome);
    const bool brokeOff = RunBrokeOff();
    EndRunFeedback();
    SetCursor(kept);
    if (outcome.journalFailed || brokeOff) ShowJournalFailure(mainWindow);
    if (outcome.journalFailed) return;
    RefreshAfterUndo(mainWindow);
    ReportText text;
    text.shown = text.whole =
        outcome.stopped
            ? FillPlaceholders(MessageText(Msg::Stopped),
                               {GroupedCount(outcome.putBack), GroupedCount(outcome.left)})
            : FillPlaceholders(MessageText(Msg::UndoDone), {GroupedCount(outcome.putBack)});
    AppendNames(text, Msg::UndoGone, outcome.gone);
    AppendNames(text, Msg::UndoChangedSince, outcome.changedSince);
    AppendNames(text, Msg::UndoFailed, outcome.failed);
    AppendNames(text, Msg::UndoCreationLeft, outcome.creationLeft);
    text.shown += notes;
    text.whole += notes;
    ShowReport(mainWindow, Msg::UndoDone, text);
}

void UndoLastChange(HWND mainWindow)
{
    // Reached from an open dialog's or message box's loop (the window menu
    // from the taskbar, a posted command), or between the items of a run:
    // it waits for nothing, and changes nothing under them.
    if (RunGoingOn() || (mainWindow && !IsWindowEnabled(mainWindow))) {
        ShowMessage(mainWindow, Msg::UndoWaits);
        return;
    }
    ChangeTurn turn(mainWindow);
    if (!turn.Held()) return;
    UndoChoice choice = ChooseUndo();
    if (choice.status == UndoChoice::Nothing) {
        ShowMessage(mainWindow, Msg::UndoNothing);
        return;
    }
    if (choice.status == UndoChoice::Damaged) {
        ShowMessageFormatted(mainWindow, Msg::UndoDamaged, {choice.damaged});
        return;
    }
    const int answer =
        choice.Rest()
            ? ShowMessageFormatted(mainWindow, Msg::UndoRestQuestion,
                                   {RunName(choice.journal), GroupedCount(choice.journal.Unsettled())})
            : ShowMessageFormatted(mainWindow, Msg::UndoQuestion, {RunName(choice.journal)});
    if (answer != IDYES) return;
    if (!choice.journal.closed) CloseJournalAs(choice.journal.path, RunOutcome::Interrupted);
    // A folder still apart, or a name still away, from a step cut off is
    // put together before anything is compared with the journal.
    const std::wstring notes = RepairNotes(RepairOpenSteps(choice.journal));
    JournalFile journal;
    if (ReadJournal(choice.journal.path, &journal) != JournalRead::Read) journal = choice.journal;
    UndoOutcome outcome;
    const UndoPlan plan = CheckJournal(mainWindow, journal, &outcome);
    if (plan.stopped) {
        ShowMessageFormatted(mainWindow, Msg::Stopped,
                             {GroupedCount(0), GroupedCount(journal.Unsettled())});
        return;
    }
    RunUndo(mainWindow, journal, plan, outcome, notes);
}
