#include "undo.h"

#include <windows.h>

#include <cstring>

#include "change_run.h"
#include "item_access.h"
#include "item_rename.h"
#include "local_time.h"
#include "path_text.h"
#include "recreate_writer.h"
#include "run_progress.h"
#include "target_time.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

// Two times a volume may store apart by its rounding (FAT keeps two seconds).
bool SameStoredTime(const FILETIME &a, const FILETIME &b)
{
    const auto count = [](const FILETIME &t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                      t.dwLowDateTime);
    };
    const long long apart = count(a) - count(b);
    return apart <= 20000000 && apart >= -20000000;
}

// Where the item of an entry is now: under the name the run gave it.
std::wstring CurrentPath(const JournalFile &journal, const JournalEntry &entry)
{
    if (journal.kind != JournalKind::Letters) return entry.path;
    return JoinPath(ParentOf(entry.path), entry.after.name);
}

// Whether the item stands as state says, in what the journal's kind changes.
// Leniently, the archive bit may differ: some volumes keep it for no folder,
// or for every file.
bool Matches(JournalKind kind, const ItemState &now, const ItemState &state, bool lenient = false)
{
    const DWORD compared = lenient ? kFourAttributes & ~FILE_ATTRIBUTE_ARCHIVE : kFourAttributes;
    switch (kind) {
    case JournalKind::Timestamp: return SameStoredTime(now.written, state.written);
    case JournalKind::Attributes:
        return (now.attributes & compared) == (state.attributes & compared);
    case JournalKind::Letters: return now.name == state.name;
    }
    return false;
}

enum class PutBackResult {
    Back,
    BackButCreation,  // all but the creation time, which no rebuilt folder can get
    NotOurs,          // a link the run met: it changed nothing through it
    Failed
};

// A folder on a volume whose folders are rebuilt gets its old creation time
// the way a run gave it the new one. False when the rebuild failed;
// *reachable false (nothing done) when no rebuilt folder can carry that
// time: the first second FAT keeps, 1 January 1980 00:00:00, is common on
// cameras.
bool RebuildWithCreationTime(const std::wstring &path, const FILETIME &created, bool *reachable)
{
    *reachable = false;
    SYSTEMTIME local;
    if (!FileTimeToLocalTime(created, &local, TimeRuleFor(g_ntfsVolume != 0))) return true;
    TimeFields saved;
    std::memcpy(saved, g_targetTime, sizeof saved);
    const int values[kTimeFieldCount] = {local.wYear, local.wMonth,  local.wDay,
                                         local.wHour, local.wMinute, local.wSecond};
    for (int field = 0; field < kTimeFieldCount; ++field) WriteTimeField(g_targetTime[field], values[field]);
    bool rebuilt = true;
    *reachable = FolderTargetReachable();
    if (*reachable) {
        const int status = g_runStatus;
        g_runStatus = 1;
        rebuilt = WriteTimestampByRecreate(path) == ItemWrite::Written && g_runStatus == 1;
        g_runStatus = status;
    }
    std::memcpy(g_targetTime, saved, sizeof saved);
    return rebuilt;
}

PutBackResult PutTimesBack(const std::wstring &path, const ItemState &old)
{
    // Asked once per drive and undo: the answer costs about as much as an item.
    const std::wstring root = RootOf(path);
    g_ntfsVolume = root.empty() || VolumeIsNtfsRemembered(root) != 0;
    bool creationReachable = true;
    if ((old.attributes & FILE_ATTRIBUTE_DIRECTORY) && UsesRebuildWriter() &&
        !RebuildWithCreationTime(path, old.created, &creationReachable))
        return PutBackResult::Failed;
    FileHandle item;
    switch (OpenItemForChange(path, item)) {
    case ItemReach::Opened: break;
    case ItemReach::ThroughLink: return PutBackResult::NotOurs;
    default: return PutBackResult::Failed;
    }
    // What can be put back is, by handle, where the creation time cannot.
    FILETIME created, accessed, written;
    const bool back = SetFileTime(item.Get(), creationReachable ? &old.created : nullptr, &old.accessed,
                                  &old.written) &&
                      GetFileTime(item.Get(), &created, &accessed, &written) &&
                      SameStoredTime(written, old.written);
    if (!back) return PutBackResult::Failed;
    return creationReachable ? PutBackResult::Back : PutBackResult::BackButCreation;
}

PutBackResult PutAttributesBack(const std::wstring &path, const ItemState &old)
{
    FileHandle item;
    const ItemReach reach = OpenItemForChange(path, item);
    item.Close();
    if (reach == ItemReach::ThroughLink) return PutBackResult::NotOurs;
    // The four as they were; every other bit stays as it is now.
    ItemState now;
    return SetItemAttributes(path, old.attributes) && ReadItemState(path, &now) &&
                   Matches(JournalKind::Attributes, now, old, true)
               ? PutBackResult::Back
               : PutBackResult::Failed;
}

PutBackResult PutNameBack(const std::wstring &path, const ItemState &old)
{
    const std::wstring oldPath = JoinPath(ParentOf(path), old.name);
    return RenameItemSafely(path, oldPath) == oldPath ? PutBackResult::Back : PutBackResult::Failed;
}

PutBackResult PutBack(JournalKind kind, const std::wstring &path, const ItemState &old)
{
    switch (kind) {
    case JournalKind::Timestamp: return PutTimesBack(path, old);
    case JournalKind::Attributes: return PutAttributesBack(path, old);
    case JournalKind::Letters: return PutNameBack(path, old);
    }
    return PutBackResult::Failed;
}

bool Exists(const std::wstring &path)
{
    return GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An item left under a temporary name between the two renames of a change
// of letters goes back to its old name.
bool PutNameTogether(const RenameStep &step)
{
    if (!Exists(step.temporary)) return true;
    if (Exists(step.from)) return false;
    return MoveFileExW(SystemPath(step.temporary).c_str(), SystemPath(step.from).c_str(), 0) != FALSE;
}

}  // namespace

UndoPlan PlanUndo(const JournalFile &journal, UndoOutcome *outcome)
{
    UndoPlan plan;
    for (std::size_t i = journal.entries.size(); i-- > 0;) {
        if (journal.undoneMark || journal.settled[i]) continue;
        if (!NextCountedItem()) {
            plan.stopped = true;
            break;
        }
        const JournalEntry &entry = journal.entries[i];
        const std::wstring path = CurrentPath(journal, entry);
        ItemState now;
        if (!ReadItemState(path, &now)) {
            outcome->gone.push_back(entry.path);
            plan.settledAsTheyAre.push_back(i);
            continue;
        }
        // Never changed (the run left it, stopped or failed before it): nothing to do.
        if (Matches(journal.kind, now, entry.before)) {
            plan.settledAsTheyAre.push_back(i);
            continue;
        }
        if (!Matches(journal.kind, now, entry.after, true)) {
            outcome->changedSince.push_back(path);
            plan.settledAsTheyAre.push_back(i);
            continue;
        }
        plan.items.push_back({i, path, now, entry.before});
    }
    return plan;
}

void PutItemsBack(const JournalFile &journal, const UndoPlan &plan, UndoOutcome *outcome)
{
    if (!UndoMarksBegin(journal.path)) {
        outcome->journalFailed = true;
        return;
    }
    if (!plan.items.empty()) {
        bool written = JournalBegin(journal.kind, true, nullptr, NameOf(journal.path));
        for (const UndoItem &item : plan.items)
            written = written && JournalRecordChange(item.path, item.now, item.old);
        if (!written || !JournalFlush()) {
            JournalEnd(RunOutcome::Failed);
            UndoMarksEnd();
            outcome->journalFailed = true;
            return;
        }
    }
    for (std::size_t entry : plan.settledAsTheyAre) UndoMarkSettled(entry);
    ForgetFinalPathCache();
    ForgetVolumeAnswers();
    std::size_t reached = 0;
    for (const UndoItem &item : plan.items) {
        if (!NextRunItem()) {
            outcome->stopped = RunStopped();
            break;
        }
        ++reached;
        switch (PutBack(journal.kind, item.path, item.old)) {
        case PutBackResult::BackButCreation: outcome->creationLeft.push_back(item.path); [[fallthrough]];
        case PutBackResult::Back: ++outcome->putBack; [[fallthrough]];
        case PutBackResult::NotOurs: UndoMarkSettled(item.entry); break;
        case PutBackResult::Failed: outcome->failed.push_back(item.path); break;
        }
    }
    outcome->left = plan.items.size() - reached;
    JournalEnd(outcome->stopped ? RunOutcome::Stopped : RunOutcome::Completed);
    UndoMarksEnd();
}

UndoChoice UndoChoiceFor(const JournalFile &journal)
{
    UndoChoice choice;
    choice.status = UndoChoice::Offered;
    choice.journal = journal;
    // An undo cut short: what it left of the journal it was putting back
    // comes before undoing the undo.
    if (journal.isUndo && !journal.undoes.empty()) {
        JournalFile target;
        if (ReadJournal(JoinPath(ParentOf(journal.path), journal.undoes), &target) == JournalRead::Read &&
            !target.FullyUndone())
            choice.journal = std::move(target);
    }
    return choice;
}

UndoChoice ChooseUndo()
{
    const std::vector<std::wstring> paths = JournalPaths();
    for (auto path = paths.rbegin(); path != paths.rend(); ++path) {
        JournalFile journal;
        if (ReadJournal(*path, &journal) != JournalRead::Read) {
            // Never passed over: an older run undone instead of the newest
            // would put back what the user did not mean.
            UndoChoice damaged;
            damaged.status = UndoChoice::Damaged;
            damaged.damaged = *path;
            return damaged;
        }
        if (!journal.FullyUndone()) return UndoChoiceFor(journal);
    }
    return UndoChoice();
}

StepRepair RepairOpenSteps(const JournalFile &journal)
{
    StepRepair repair;
    // The newest step first: a step taken later may lie inside an earlier one's folder.
    for (auto step = journal.openRenames.rbegin(); step != journal.openRenames.rend(); ++step) {
        if (PutNameTogether(*step) && CloseJournalStep(journal.path, *step))
            repair.namesBack.push_back(*step);
        else
            repair.namesAway.push_back(*step);
    }
    for (auto step = journal.openRebuilds.rbegin(); step != journal.openRebuilds.rend(); ++step) {
        if (PutFolderTogether(*step) && CloseJournalStep(journal.path, *step))
            repair.foldersWhole.push_back(*step);
        else
            repair.foldersApart.push_back(*step);
    }
    return repair;
}

std::vector<JournalFile> UnfinishedJournals()
{
    std::vector<JournalFile> unfinished;
    for (const std::wstring &path : JournalPaths()) {
        JournalFile journal;
        if (ReadJournal(path, &journal) == JournalRead::Read && !journal.closed)
            unfinished.push_back(std::move(journal));
    }
    return unfinished;
}
