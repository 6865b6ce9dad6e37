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

constexpr DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

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
    const DWORD compared = lenient ? kSettableAttributes & ~FILE_ATTRIBUTE_ARCHIVE : kSettableAttributes;
    switch (kind) {
    case JournalKind::Timestamp: return SameStoredTime(now.written, state.written);
    case JournalKind::Attributes:
        return (now.attributes & compared) == (state.attributes & compared);
    case JournalKind::Letters: return now.name == state.name;
    }
    return false;
}

// A folder on a volume whose folders are rebuilt gets its old creation time
// the way a run gave it the new one.
bool RebuildWithCreationTime(const std::wstring &path, const FILETIME &created)
{
    SYSTEMTIME local;
    if (!FileTimeToLocalTime(created, &local, TimeRuleFor(g_ntfsVolume != 0))) return false;
    TimeFields saved;
    std::memcpy(saved, g_targetTime, sizeof saved);
    const int values[kTimeFieldCount] = {local.wYear, local.wMonth,  local.wDay,
                                         local.wHour, local.wMinute, local.wSecond};
    for (int field = 0; field < kTimeFieldCount; ++field) WriteTimeField(g_targetTime[field], values[field]);
    const int status = g_runStatus;
    g_runStatus = 1;
    const bool rebuilt = WriteTimestampByRecreate(path) == ItemWrite::Written && g_runStatus == 1;
    g_runStatus = status;
    std::memcpy(g_targetTime, saved, sizeof saved);
    return rebuilt;
}

bool PutTimesBack(const std::wstring &path, const ItemState &old)
{
    // Asked once per drive: the system's answer costs about as much as an item.
    static std::wstring checkedRoot;
    if (RootOf(path) != checkedRoot) {
        checkedRoot = RootOf(path);
        DetectNtfs(checkedRoot);
    }
    if ((old.attributes & FILE_ATTRIBUTE_DIRECTORY) && UsesRebuildWriter() &&
        !RebuildWithCreationTime(path, old.created))
        return false;
    FileHandle item;
    if (OpenItemForChange(path, item) != ItemReach::Opened) return false;
    FILETIME created, accessed, written;
    return SetFileTime(item.Get(), &old.created, &old.accessed, &old.written) &&
           GetFileTime(item.Get(), &created, &accessed, &written) &&
           SameStoredTime(written, old.written);
}

bool PutNameBack(const std::wstring &path, const ItemState &old)
{
    const std::wstring oldPath = JoinPath(ParentOf(path), old.name);
    return RenameItemSafely(path, oldPath) == oldPath;
}

bool PutBack(JournalKind kind, const std::wstring &path, const ItemState &old)
{
    switch (kind) {
    case JournalKind::Timestamp: return PutTimesBack(path, old);
    case JournalKind::Attributes: {
        ItemState now;
        return SetItemAttributes(path, old.attributes & kSettableAttributes) &&
               ReadItemState(path, &now) && Matches(kind, now, old, true);
    }
    case JournalKind::Letters: return PutNameBack(path, old);
    }
    return false;
}

}  // namespace

std::vector<JournalEntry> ItemsToPutBack(const JournalFile &journal, UndoOutcome *outcome)
{
    std::vector<JournalEntry> items;
    for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
        const std::wstring path = CurrentPath(journal, *entry);
        ItemState now;
        if (!ReadItemState(path, &now)) {
            outcome->gone.push_back(entry->path);
            continue;
        }
        // Never changed (the run left it, stopped or failed before it): nothing to do.
        if (Matches(journal.kind, now, entry->before)) continue;
        if (!Matches(journal.kind, now, entry->after, true)) {
            outcome->changedSince.push_back(path);
            continue;
        }
        items.push_back({path, now, entry->before});
    }
    return items;
}

void PutItemsBack(const JournalFile &journal, const std::vector<JournalEntry> &items,
                  UndoOutcome *outcome)
{
    if (items.empty()) {
        MarkJournalUndone(journal.path);
        return;
    }
    if (!JournalBegin(journal.kind, true, nullptr)) {
        outcome->journalFailed = true;
        return;
    }
    for (const JournalEntry &item : items) JournalRecordChange(item.path, item.before, item.after);
    if (!JournalFlush()) {
        outcome->journalFailed = true;
        JournalEnd();
        return;
    }
    MarkJournalUndone(journal.path);
    ForgetFinalPathCache();
    for (const JournalEntry &item : items) {
        if (!NextRunItem()) {
            outcome->stopped = true;
            break;
        }
        if (PutBack(journal.kind, item.path, item.after))
            ++outcome->putBack;
        else
            outcome->failed.push_back(item.path);
    }
    if (outcome->stopped) outcome->left = items.size() - outcome->putBack - outcome->failed.size();
    JournalEnd();
}
