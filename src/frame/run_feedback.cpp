#include "run_feedback.h"

#include <shellapi.h>

#include <cstdio>

#include "language.h"
#include "main_window.h"
#include "messages.h"
#include "run_progress.h"
#include "undo.h"

namespace {

// The title is rewritten at most this often: often enough to be read as
// moving, rarely enough to cost nothing.
constexpr DWORD kTitleEveryMs = 200;
// Items named in Undo's report per list; the rest are counted.
constexpr std::size_t kNamesShown = 10;

struct Feedback {
    HWND window = nullptr;
    std::wstring title;
    DWORD lastTitle = 0;
    bool stopAsked = false;
} g_feedback;

bool IsInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

}  // namespace

BetweenItems g_runPump = BetweenRunItems;

// A command must not start inside another: keys and clicks wait.
bool BetweenRunItems(std::size_t done, std::size_t total)
{
    if (g_feedback.window && GetTickCount() - g_feedback.lastTitle >= kTitleEveryMs) {
        SetWindowTextW(g_feedback.window, ProgressTitle(g_feedback.title, done, total).c_str());
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
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
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

void BeginRunFeedback(HWND mainWindow, std::size_t total)
{
    g_feedback = Feedback();
    g_feedback.window = mainWindow;
    if (mainWindow) {
        wchar_t title[256] = {};
        GetWindowTextW(mainWindow, title, 256);
        g_feedback.title = title;
    }
    g_betweenItems = g_runPump;
    BeginRunProgress(total);
    g_feedback.lastTitle = GetTickCount() - kTitleEveryMs;
}

void EndRunFeedback()
{
    EndRunProgress();
    g_betweenItems = nullptr;
    if (g_feedback.window) SetWindowTextW(g_feedback.window, g_feedback.title.c_str());
    g_feedback.window = nullptr;
}

std::wstring DateTimeText(const SYSTEMTIME &time)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute);
    return text;
}

std::wstring RunName(const JournalFile &journal)
{
    Msg kind = Msg::UndoRunTimestamp;
    if (journal.kind == JournalKind::Attributes) kind = Msg::UndoRunAttributes;
    if (journal.kind == JournalKind::Letters) kind = Msg::UndoRunLetters;
    const std::wstring name = FillPlaceholders(
        MessageText(kind), {GroupedCount(journal.entries.size()), DateTimeText(journal.started)});
    return journal.isUndo ? FillPlaceholders(MessageText(Msg::UndoRunUndo), {name}) : name;
}

void AppendNames(std::wstring &text, Msg heading, const std::vector<std::wstring> &names)
{
    if (names.empty()) return;
    text += MessageText(heading);
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) text += L"\n   " + names[i];
    if (names.size() > kNamesShown)
        text += L"\n" + FillPlaceholders(MessageText(Msg::UndoMore),
                                         {GroupedCount(names.size() - kNamesShown)});
}

void ShowJournalFailure(HWND owner)
{
    ShowMessageFormatted(owner, Msg::JournalFailure, {JournalFolder()});
}

}  // namespace

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

bool RunWithJournal(HWND mainWindow, JournalKind kind, AfterChange after,
                    const std::vector<std::wstring> &chosenItems,
                    const std::function<std::size_t()> &count, const std::function<void()> &run)
{
    bool written = JournalBegin(kind, false, after);
    for (const std::wstring &item : chosenItems) written = written && JournalRecordItem(item);
    // One wait for the disk for all that counting met, not one per folder.
    JournalHoldSync(true);
    const std::size_t total = written ? count() : 0;
    JournalHoldSync(false);
    written = written && JournalFlush();
    if (!written) {
        JournalEnd();
        ShowJournalFailure(mainWindow);
        return false;
    }
    BeginRunFeedback(mainWindow, total);
    run();
    EndRunFeedback();
    const bool broken = JournalBroken();
    JournalEnd();
    if (broken) ShowJournalFailure(mainWindow);
    return true;
}

void AskToStopRun(HWND owner)
{
    if (!RunGoingOn() || g_feedback.stopAsked) return;
    if (ShowMessage(owner, Msg::StopQuestion) == IDYES) g_feedback.stopAsked = true;
}

void ShowStoppedMessage(HWND owner)
{
    ShowMessageFormatted(owner, Msg::Stopped,
                         {GroupedCount(RunItemsDone()),
                          GroupedCount(RunItemsTotal() - RunItemsDone())});
}

void AddUndoToWindowMenu(HWND mainWindow)
{
    HMENU menu = GetSystemMenu(mainWindow, FALSE);
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kUndoCommand,
                g_japaneseMode ? L"最後の変更を元に戻す" : L"Undo last change");
}

void UndoLastChange(HWND mainWindow)
{
    if (RunGoingOn()) return;
    JournalFile journal;
    if (!ReadLatestJournal(&journal)) {
        ShowMessage(mainWindow, Msg::UndoNothing);
        return;
    }
    if (ShowMessageFormatted(mainWindow, Msg::UndoQuestion, {RunName(journal)}) != IDYES) return;

    HCURSOR kept = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    UndoOutcome outcome;
    const std::vector<JournalEntry> items = ItemsToPutBack(journal, &outcome);
    BeginRunFeedback(mainWindow, items.size());
    PutItemsBack(journal, items, &outcome);
    EndRunFeedback();
    SetCursor(kept);
    if (outcome.journalFailed) {
        ShowJournalFailure(mainWindow);
        return;
    }
    RefreshAfterUndo(mainWindow);
    std::wstring text =
        outcome.stopped
            ? FillPlaceholders(MessageText(Msg::Stopped),
                               {GroupedCount(outcome.putBack), GroupedCount(outcome.left)})
            : FillPlaceholders(MessageText(Msg::UndoDone), {GroupedCount(outcome.putBack)});
    AppendNames(text, Msg::UndoGone, outcome.gone);
    AppendNames(text, Msg::UndoChangedSince, outcome.changedSince);
    AppendNames(text, Msg::UndoFailed, outcome.failed);
    ShowMessageText(mainWindow, Msg::UndoDone, text);
}
