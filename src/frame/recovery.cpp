#include "recovery.h"

#include <cstdio>

#include "journal.h"
#include "messages.h"
#include "run_feedback.h"

namespace {

std::wstring ClockText()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return text;
}

void RecoverRun(HWND mainWindow, const JournalFile &unfinished)
{
    std::wstring notes = RepairNotes(RepairOpenSteps(unfinished));
    // A rebuild sets the clock for a moment: a run cut off inside one may
    // have left it set.
    if (!unfinished.openRebuilds.empty())
        notes += FillPlaceholders(MessageText(Msg::RecoverClock), {ClockText()});
    // Closed first: from here on it is a run like any other, which Undo can
    // still take if the user leaves it now, or if the process ends again.
    CloseJournalAs(unfinished.path, RunOutcome::Interrupted);
    JournalFile journal;
    if (ReadJournal(unfinished.path, &journal) != JournalRead::Read) journal = unfinished;
    const UndoChoice choice = UndoChoiceFor(journal);
    UndoOutcome outcome;
    const UndoPlan plan = CheckJournal(mainWindow, choice.journal, &outcome);
    // Stopped while checking: the run stays as it is, for Undo to take later.
    if (plan.stopped) return;
    if (plan.items.empty()) {
        ShowMessageFormatted(mainWindow, Msg::RecoverNothing, {RunName(journal), notes});
        return;
    }
    const int answer =
        journal.isUndo
            ? ShowMessageFormatted(mainWindow, Msg::RecoverUndo,
                                   {RunName(journal), GroupedCount(plan.items.size()), notes})
            : ShowMessageFormatted(mainWindow, Msg::RecoverRun,
                                   {RunName(journal), GroupedCount(plan.items.size()),
                                    GroupedCount(journal.entries.size()), notes});
    if (answer != IDYES) return;
    RunUndo(mainWindow, choice.journal, plan, outcome, std::wstring());
}

}  // namespace

std::wstring RepairNotes(const StepRepair &repair)
{
    std::wstring notes;
    for (const RebuildStep &step : repair.foldersWhole)
        notes += FillPlaceholders(MessageText(Msg::RecoverFolderWhole), {step.folder, step.temporary});
    for (const RebuildStep &step : repair.foldersApart)
        notes += FillPlaceholders(MessageText(Msg::RecoverFolderApart), {step.folder, step.temporary});
    for (const RenameStep &step : repair.namesBack)
        notes += FillPlaceholders(MessageText(Msg::RecoverNameBack), {step.from, step.temporary});
    for (const RenameStep &step : repair.namesAway)
        notes += FillPlaceholders(MessageText(Msg::RecoverNameAway), {step.from, step.temporary});
    return notes;
}

void RecoverUnfinishedRuns(HWND mainWindow)
{
    // Without a message: a change in another process owns the open journal.
    ChangeTurn turn(mainWindow, TurnPurpose::Recovery);
    if (!turn.Held()) return;
    for (const JournalFile &unfinished : UnfinishedJournals()) RecoverRun(mainWindow, unfinished);
}
