#include "recreate_writer.h"

#include <algorithm>

#include <vector>

#include "change_lock.h"
#include "creation_moment.h"
#include "handles.h"
#include "item_access.h"
#include "journal.h"
#include "language.h"
#include "local_time.h"
#include "path_text.h"
#include "platform_seams.h"
#include "read_back.h"
#include "run_report.h"
#include "subtree_walk.h"
#include "target_time.h"
#include "timestamp_writer.h"

namespace {

// The temporary folder's name must stay shorter than this.
constexpr std::size_t kTemporaryNameLimit = 250;

enum class CreateResult { Created, ClockRefused, CreateFailed };

// Attempts at putting the clock back before the failure is counted.
constexpr int kClockPutBackAttempts = 3;

void CountFailure()
{
    g_runStatus += 1;
}

// One failure of the item at path, named in the run's report.
void Fail(const std::wstring &path, NotChanged reason, const std::wstring &where = std::wstring())
{
    ReportNotChanged(path, reason, where);
    CountFailure();
}

bool Exists(const std::wstring &path)
{
    return GetFileAttributesW(SystemPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A file: through the handle writer's own course, with the target as a
// volume that keeps local time stores it.
ItemWrite WriteFileTimes(const std::wstring &path)
{
    FILETIME utc;
    const bool haveTime = TargetFileTime(false, &utc);
    return WriteItemTimes(path, haveTime ? &utc : nullptr, false);
}

// The first free "!!!", "!!!!", ... beside the folder; an entry of any kind
// counts as taken. False when no such name shorter than 250 characters is free.
bool FindTemporaryName(const std::wstring &folder, std::wstring *temporary)
{
    const std::wstring parent = ParentOf(folder);
    for (std::wstring name = L"!!!"; name.size() < kTemporaryNameLimit; name += L'!') {
        *temporary = JoinPath(parent, name);
        if (!Exists(*temporary)) return true;
    }
    temporary->clear();
    return false;
}

// Moves the entry between the two folders under its own name.
bool MoveEntry(const std::wstring &fromFolder, const std::wstring &toFolder,
               const std::wstring &name)
{
    return MoveFileExW(SystemPath(JoinPath(fromFolder, name)).c_str(),
                       SystemPath(JoinPath(toFolder, name)).c_str(), 0) != FALSE;
}

// The local time `elapsedCounts` of the performance counter after `start`.
SYSTEMTIME LaterBy(const SYSTEMTIME &start, LONGLONG elapsedCounts, LONGLONG frequency)
{
    FILETIME startTime;
    if (!SystemTimeToFileTime(&start, &startTime) || frequency <= 0) return start;
    ULARGE_INTEGER value;
    value.LowPart = startTime.dwLowDateTime;
    value.HighPart = startTime.dwHighDateTime;
    // In 100 ns units, split so that the product cannot overflow.
    value.QuadPart += static_cast<ULONGLONG>(elapsedCounts / frequency) * 10000000ULL +
                      static_cast<ULONGLONG>(elapsedCounts % frequency) * 10000000ULL /
                          static_cast<ULONGLONG>(frequency);
    FILETIME later;
    later.dwLowDateTime = value.LowPart;
    later.dwHighDateTime = value.HighPart;
    SYSTEMTIME result;
    if (!FileTimeToSystemTime(&later, &result)) return start;
    return result;
}

// 100 ns counts of a local SYSTEMTIME; 0 when it is not a valid time.
LONGLONG LocalCounts(const SYSTEMTIME &t)
{
    FILETIME f;
    if (!SystemTimeToFileTime(&t, &f)) return 0;
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
}

// Whether the clock shows value, give or take half an hour.
bool ClockShows(const SYSTEMTIME &value)
{
    SYSTEMTIME shown;
    g_platform.getClock(&shown);
    const LONGLONG halfHour = 30LL * 60 * 10000000;
    const LONGLONG off = LocalCounts(shown) - LocalCounts(value);
    return off > -halfHour && off < halfHour;
}

// Called right after the clock was set to value. The system reads a new
// local time under the daylight-saving state in force before the call and
// only then takes on the state of the new time: across a change of season the
// clock shows an hour off, and setting it once more puts it right. True when
// the clock shows value.
bool SettleSeason(const SYSTEMTIME &value)
{
    if (ClockShows(value)) return true;
    return g_platform.setClock(&value) && ClockShows(value);
}

// Creates the new folder while the clock shows the creation moment. The
// clock is put back to the time it showed plus the time that passed since,
// so that the system's time ends up where it would have been. The clock is
// untouched when it refused to be set, put back otherwise; *clockPutBack
// tells whether the clock is right again.
CreateResult CreateUnderClock(const wchar_t *path, const SYSTEMTIME &moment, bool *clockPutBack)
{
    *clockPutBack = true;
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    SYSTEMTIME saved;
    QueryPerformanceCounter(&before);
    g_platform.getClock(&saved);
    if (!g_platform.setClock(&moment)) return CreateResult::ClockRefused;
    // A moment still an hour off shows in the new folder's read-back.
    SettleSeason(moment);
    const BOOL created = g_platform.createFolder(path);
    QueryPerformanceCounter(&after);
    const SYSTEMTIME putBack =
        LaterBy(saved, after.QuadPart - before.QuadPart, frequency.QuadPart);
    bool back = false;
    for (int attempt = 0; attempt < kClockPutBackAttempts && !back; ++attempt)
        back = g_platform.setClock(&putBack) && SettleSeason(putBack);
    *clockPutBack = back;
    return created ? CreateResult::Created : CreateResult::CreateFailed;
}

// The target as a FAT volume's UTC reading of it: volumes that are rebuilt
// keep local time, turned into UTC with today's bias.
bool TargetUtc(const DateTime &target, FILETIME *utc)
{
    return LocalTimeToFileTime(SystemTimeOf(target), utc, TimeRule::CurrentBias);
}

// Whether the re-created, still empty folder carries the creation moment.
// Systems of the NT family can hand a folder made again under the same name
// the creation time of the entry that just left it.
bool NewFolderHasItsMoment(const std::wstring &folder, const DateTime &target)
{
    FILETIME targetUtc;
    WIN32_FILE_ATTRIBUTE_DATA data;
    return TargetUtc(target, &targetUtc) && ReadItemData(folder, &data) &&
           CreationTimeMatches(data.ftCreationTime, targetUtc);
}

// Whether the rebuilt folder, its contents home again, still reads as the
// target: moving entries in can renew its write and access times.
bool RebuiltFolderHasTarget(const std::wstring &folder, const DateTime &target)
{
    FILETIME targetUtc;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!TargetUtc(target, &targetUtc) || !ReadItemData(folder, &data)) return false;
    const StoredTimes stored = {data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime};
    return StoredTimesMatch(stored, targetUtc, false, true);
}

// Windows Vista and later open a folder for writing its times (backup
// semantics) without any clock; Windows 95, 98 and Me cannot open folders.
bool CanWriteFolderTimesByHandle()
{
    return g_windowsKind == 6 || g_windowsKind == 7;
}

// Where the rebuild could not give the folder its time, with the folder as it
// was or complete: the handle writer where the system allows it (it counts
// its own failure), else one failure.
ItemWrite WriteByHandleOrFail(const std::wstring &folder)
{
    if (CanWriteFolderTimesByHandle()) return WriteTimestampByHandle(folder);
    Fail(folder, NotChanged::RebuildFailed);
    return ItemWrite::Failed;
}

// Sets the old folder's own times and attributes again: moving its
// contents out and back in made the file system touch them.
void PutBackFolderState(const RebuildStep &old)
{
    FileHandle handle(CreateFileW(SystemPath(old.folder).c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.Valid()) SetFileTime(handle.Get(), &old.created, &old.accessed, &old.written);
    handle.Close();
    SetFileAttributesW(SystemPath(old.folder).c_str(), old.attributes);
}

// The times of the folder holding the rebuilt one go back as they were: the
// rename and the create in it are the rebuild's doing, not a change the
// user asked for. Only where folders can be opened for their times.
void PutBackParentTimes(const RebuildStep &step)
{
    const FILETIME none = {};
    if (!CanWriteFolderTimesByHandle() ||
        CompareFileTime(&step.parentWritten, &none) == 0)
        return;
    FileHandle handle(CreateFileW(SystemPath(ParentOf(step.folder)).c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (handle.Valid())
        SetFileTime(handle.Get(), &step.parentCreated, &step.parentAccessed, &step.parentWritten);
}

bool IsFolder(const std::wstring &path)
{
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// How far a rebuild got, for undoing it.
struct RebuildProgress {
    bool renamed = false;
    bool created = false;
    std::size_t moved = 0;  // entries now in the new folder, from the front of the list
};

// Undoes a rebuild that failed part-way: the contents go back into the
// temporary folder, the new folder is removed, the old one takes its name
// back with its times and attributes. False when something stayed behind.
bool UndoRebuild(const RebuildStep &old, const std::vector<std::wstring> &entries,
                 const RebuildProgress &progress)
{
    bool complete = true;
    for (std::size_t i = progress.moved; i-- > 0;)
        if (!MoveEntry(old.folder, old.temporary, entries[i])) complete = false;
    if (complete && progress.created && !RemoveDirectoryW(SystemPath(old.folder).c_str()))
        complete = false;
    if (complete && progress.renamed &&
        !MoveFileExW(SystemPath(old.temporary).c_str(), SystemPath(old.folder).c_str(), 0))
        complete = false;
    if (!complete) return false;
    PutBackFolderState(old);
    return true;
}

ItemWrite RebuildFolder(RebuildStep old, const DateTime &target)
{
    const std::wstring folder = old.folder;
    // Settled before anything is renamed: a time that is no date fails here.
    if (!IsValidDateTime(target)) {
        Fail(folder, NotChanged::Refused);
        return ItemWrite::Failed;
    }
    DateTime momentFields;
    if (!ComputeCreationMoment(target, &momentFields)) {
        ReportNotChanged(folder, NotChanged::VolumeRefused);
        ReportRecreate(kReportLimit1980, folder, std::wstring());
        return ItemWrite::Failed;
    }
    // Without the right to set the clock the folder is never taken apart:
    // the way that needs no clock is taken straight away.
    // Nor is the clock set outside a change that holds the machine's change
    // lock: two processes would each save a clock the other had set.
    if (g_clockNotPutBack || !ChangeLockHeld() || !g_platform.enableClockRight())
        return WriteByHandleOrFail(folder);
    const SYSTEMTIME moment = SystemTimeOf(momentFields);
    std::wstring &temporary = old.temporary;
    if (!FindTemporaryName(folder, &temporary)) {
        ReportNotChanged(folder, NotChanged::RebuildFailed);
        ReportRecreate(kReportTemporaryName, folder, std::wstring());
        return ItemWrite::Failed;
    }
    // The names of everything it holds, dot names included, read before
    // anything is renamed; each moves under its own name.
    std::vector<std::wstring> entries;
    if (!ReadFolderNames(folder, &entries)) {
        Fail(folder, NotChanged::NotListed);
        return ItemWrite::Failed;
    }
    // A name no path holds could be moved out under its short name, but
    // never back under its own: such a folder is never taken apart.
    const auto refused = [](const std::wstring &name) { return NameRefusedInPath(name); };
    if (ReachablePath(folder) != SystemPath(folder) ||
        std::any_of(entries.begin(), entries.end(), refused))
        return WriteByHandleOrFail(folder);

    // Where the parts go is on the disk before the folder is touched, so
    // that a process ended half-way leaves a folder that can be put together.
    if (!JournalRebuildBegins(old)) {
        Fail(folder, NotChanged::RebuildFailed);
        return ItemWrite::Failed;
    }
    // The rename must not be refused for a read-only folder.
    const std::wstring systemFolder = SystemPath(folder);
    if (!SetFileAttributesW(systemFolder.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        const DWORD error = GetLastError();
        JournalRebuildEnds(folder);
        Fail(folder, ReasonOfError(error));
        return ItemWrite::Failed;
    }
    RebuildProgress progress;
    bool failed = false;
    bool clockRefused = false;
    bool momentMissing = false;
    progress.renamed = MoveFileExW(systemFolder.c_str(), SystemPath(temporary).c_str(), 0) != FALSE;
    if (!progress.renamed) failed = true;
    if (!failed) {
        bool clockPutBack = true;
        const CreateResult result = CreateUnderClock(systemFolder.c_str(), moment, &clockPutBack);
        // A clock left wrong is worse than any failed item: no later folder
        // sets it again, and it is reported once the entries are home.
        if (!clockPutBack) {
            g_clockNotPutBack = 1;
            CountFailure();
        }
        progress.created = result == CreateResult::Created;
        clockRefused = result == CreateResult::ClockRefused;
        failed = !progress.created;
        if (progress.created) momentMissing = !NewFolderHasItsMoment(folder, target);
    }
    for (std::size_t i = 0; !failed && i < entries.size(); ++i) {
        if (MoveEntry(temporary, folder, entries[i]))
            progress.moved = i + 1;
        else
            failed = true;
    }
    if (!failed && !RemoveDirectoryW(SystemPath(temporary).c_str())) failed = true;
    if (!failed) {
        SetFileAttributesW(systemFolder.c_str(), old.attributes);
        PutBackParentTimes(old);
        JournalRebuildEnds(folder);
        // Complete, but handed another creation time, or given other times by
        // the moves: written again by handle.
        if (momentMissing || !RebuiltFolderHasTarget(folder, target)) return WriteByHandleOrFail(folder);
        return ItemWrite::Written;
    }
    if (!UndoRebuild(old, entries, progress)) {
        Fail(folder, NotChanged::RebuildFailed, temporary);
        ReportRecreate(kReportLeftBehind, folder, temporary);
        return ItemWrite::Failed;
    }
    PutBackParentTimes(old);
    JournalRebuildEnds(folder);
    // The folder is as it was. A clock that cannot be set (an ordinary user's
    // lot) still leaves the handle writer where the system has one.
    if (clockRefused) return WriteByHandleOrFail(folder);
    Fail(folder, NotChanged::RebuildFailed);
    return ItemWrite::Failed;
}

}  // namespace

int g_clockNotPutBack = 0;

bool PutFolderTogether(const RebuildStep &step)
{
    if (!IsFolder(step.temporary)) {
        // Never taken apart, or whole again: the new folder then has the
        // times of its making and of the moves, which are neither its old
        // ones nor the target, and its attributes may be missing.
        if (!IsFolder(step.folder)) return false;
        PutBackFolderState(step);
        PutBackParentTimes(step);
        return true;
    }
    if (IsFolder(step.folder)) {
        // The new folder: whatever came home goes back aside first.
        std::vector<std::wstring> names;
        if (!ReadFolderNames(step.folder, &names)) return false;
        for (const std::wstring &name : names)
            if (!MoveEntry(step.folder, step.temporary, name)) return false;
        if (!RemoveDirectoryW(SystemPath(step.folder).c_str())) return false;
    } else if (GetFileAttributesW(SystemPath(step.folder).c_str()) != INVALID_FILE_ATTRIBUTES) {
        return false;  // another item took the folder's name meanwhile
    }
    if (!MoveFileExW(SystemPath(step.temporary).c_str(), SystemPath(step.folder).c_str(), 0))
        return false;
    PutBackFolderState(step);
    PutBackParentTimes(step);
    return true;
}

bool FolderTargetReachable()
{
    DateTime moment;
    return ComputeCreationMoment(RoundedToEvenSecond(ReadTimeFields(g_targetTime)), &moment);
}

ItemWrite WriteTimestampByRecreate(const std::wstring &path)
{
    const DateTime target = RoundedToEvenSecond(ReadTimeFields(g_targetTime));
    RebuildStep old;
    old.folder = path;
    {
        FileHandle item;
        switch (OpenItemForChange(path, item)) {
        case ItemReach::Opened: break;
        case ItemReach::Missing:
            ReportNotChanged(path, NotChanged::Gone);
            ReportRecreate(kReportMissingItem, path, std::wstring());
            return ItemWrite::Missing;
        case ItemReach::ThroughLink: return ItemWrite::LinkLeftAlone;
        case ItemReach::OwnProgram: ReportNotChanged(path, NotChanged::OwnProgram); return ItemWrite::OwnProgram;
        case ItemReach::Refused: Fail(path, ReasonOfError(GetLastError())); return ItemWrite::Failed;
        }
        BY_HANDLE_FILE_INFORMATION info = {};
        if (!GetFileInformationByHandle(item.Get(), &info)) {
            Fail(path, ReasonOfError(GetLastError()));
            return ItemWrite::Failed;
        }
        if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            item.Close();
            return WriteFileTimes(path);
        }
        // A folder that is a link, opened as itself: its contents live
        // elsewhere and would be carried out of the place they belong to.
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return ItemWrite::LinkLeftAlone;
        old.attributes = info.dwFileAttributes;
        old.created = info.ftCreationTime;
        old.accessed = info.ftLastAccessTime;
        old.written = info.ftLastWriteTime;
        WIN32_FILE_ATTRIBUTE_DATA parent;
        if (ReadItemData(ParentOf(path), &parent)) {
            old.parentCreated = parent.ftCreationTime;
            old.parentAccessed = parent.ftLastAccessTime;
            old.parentWritten = parent.ftLastWriteTime;
        }
    }
    const int clockWasWrong = g_clockNotPutBack;
    const ItemWrite result = RebuildFolder(old, target);
    if (!clockWasWrong && g_clockNotPutBack)
        ReportRecreate(kReportClockNotPutBack, path, std::wstring());
    return result;
}
