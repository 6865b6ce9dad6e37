#include "recreate_writer.h"

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "creation_moment.h"
#include "handles.h"
#include "item_access.h"
#include "item_names.h"
#include "language.h"
#include "local_time.h"
#include "path_limits.h"
#include "platform_seams.h"
#include "read_back.h"
#include "subtree_walk.h"
#include "target_time.h"
#include "timestamp_writer.h"

namespace {

// The temporary name must stay shorter than this.
constexpr std::size_t kTemporaryNameLimit = 250;

enum class CreateResult { Created, ClockRefused, CreateFailed };

// Attempts at putting the clock back before the failure is counted.
constexpr int kClockPutBackAttempts = 3;

void CountFailure()
{
    g_runStatus += 1;
}

// A file: through the handle writer's own course, with the target as a
// volume that keeps local time stores it.
ItemWrite WriteFileTimes(const char *path, const DateTime &target)
{
    FILETIME utc;
    const bool haveTime =
        IsValidDateTime(target) && LocalTimeToFileTime(SystemTimeOf(target), &utc);
    return WriteItemTimes(path, haveTime ? &utc : nullptr, false);
}

// The first free "!!!", "!!!!", ... in the folder's parent; an entry of any
// kind counts as taken. False when none is shorter than 250 characters.
bool FindTemporaryName(const char *path, char (&temporary)[kPathBufferSize])
{
    std::memset(temporary, 0, sizeof temporary);
    const int lastSlash = LastSeparator(path, IsProcessLeadByte);
    if (lastSlash < 0) return false;
    std::size_t length = static_cast<std::size_t>(lastSlash) + 1;
    std::memcpy(temporary, path, length);
    std::memcpy(temporary + length, "!!!", 3);
    for (length += 3; length < kTemporaryNameLimit; temporary[length++] = '!') {
        WIN32_FIND_DATAA found;
        FindHandle search(FindFirstFileA(temporary, &found));
        if (!search.Valid()) return true;
    }
    std::memset(temporary, 0, sizeof temporary);
    return false;
}

struct FolderEntry {
    wchar_t name[MAX_PATH];  // the entry's own name, which the moves keep exactly
};

// The path in the code page as wide text; false when it does not convert.
bool WidePath(const char *path, wchar_t (&out)[kPathBufferSize])
{
    std::memset(out, 0, sizeof out);
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, out, kPathBufferSize) > 0;
}

// Joins a wide folder and name with one backslash; false (out cleared) when
// the result would be longer than kMaxPathChars characters.
bool JoinWide(const wchar_t *folder, const wchar_t *name, wchar_t (&out)[kPathBufferSize])
{
    std::memset(out, 0, sizeof out);
    const std::size_t folderLength = std::wcslen(folder), nameLength = std::wcslen(name);
    if (folderLength + 1 + nameLength > static_cast<std::size_t>(kMaxPathChars)) return false;
    std::wmemcpy(out, folder, folderLength);
    out[folderLength] = L'\\';
    std::wmemcpy(out + folderLength + 1, name, nameLength);
    return true;
}

// Moves the entry between the two folders under its own name.
bool MoveEntry(const wchar_t *fromFolder, const wchar_t *toFolder, const FolderEntry &entry)
{
    wchar_t from[kPathBufferSize], to[kPathBufferSize];
    return JoinWide(fromFolder, entry.name, from) && JoinWide(toFolder, entry.name, to) &&
           MoveFileW(from, to);
}

// The names of everything the folder holds, dot names included, read before
// anything is renamed. The moves go by each entry's own (wide) name: moved
// under its short name, an entry would take that as its new name. False when
// one of them could not be carried to the temporary folder and back: it has
// no name the ANSI calls reach (the code page cannot spell it and there is no
// short name), that name does not answer, or a path would not fit.
bool ReadMovableEntries(const char *path, const char *temporary, std::vector<FolderEntry> &entries)
{
    wchar_t widePath[kPathBufferSize], wideTemporary[kPathBufferSize];
    if (!WidePath(path, widePath) || !WidePath(temporary, wideTemporary)) return false;
    wchar_t pattern[kPathBufferSize];
    if (!JoinWide(widePath, L"*", pattern)) return false;
    WIN32_FIND_DATAW wide = {};
    FindHandle search(FindFirstFileW(pattern, &wide));
    if (!search.Valid()) return false;
    do {
        if (std::wcscmp(wide.cFileName, L".") == 0 || std::wcscmp(wide.cFileName, L"..") == 0)
            continue;
        WIN32_FIND_DATAA found;
        AnsiEntry(wide, &found);
        const char *usable = UsableName(found);
        char inFolder[kPathBufferSize], inTemporary[kPathBufferSize];
        if (!usable || !JoinPath(path, usable, inFolder) ||
            !JoinPath(temporary, usable, inTemporary))
            return false;
        if (GetFileAttributesA(inFolder) == INVALID_FILE_ATTRIBUTES) return false;
        wchar_t wideInFolder[kPathBufferSize], wideInTemporary[kPathBufferSize];
        if (!JoinWide(widePath, wide.cFileName, wideInFolder) ||
            !JoinWide(wideTemporary, wide.cFileName, wideInTemporary))
            return false;
        FolderEntry entry = {};
        std::wmemcpy(entry.name, wide.cFileName, MAX_PATH - 1);
        entries.push_back(entry);
    } while (FindNextFileW(search.Get(), &wide));
    return GetLastError() == ERROR_NO_MORE_FILES;
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
bool NewFolderHasItsMoment(const wchar_t *path, const DateTime &target)
{
    FILETIME targetUtc;
    WIN32_FILE_ATTRIBUTE_DATA folder;
    return TargetUtc(target, &targetUtc) &&
           GetFileAttributesExW(path, GetFileExInfoStandard, &folder) &&
           CreationTimeMatches(folder.ftCreationTime, targetUtc);
}

// Whether the rebuilt folder, its contents home again, still reads as the
// target: moving entries in can renew its write and access times.
bool RebuiltFolderHasTarget(const wchar_t *path, const DateTime &target)
{
    FILETIME targetUtc;
    WIN32_FILE_ATTRIBUTE_DATA folder;
    if (!TargetUtc(target, &targetUtc) || !GetFileAttributesExW(path, GetFileExInfoStandard, &folder))
        return false;
    const StoredTimes stored = {folder.ftCreationTime, folder.ftLastAccessTime,
                                folder.ftLastWriteTime};
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
ItemWrite WriteByHandleOrFail(const char *path)
{
    if (CanWriteFolderTimesByHandle()) return WriteTimestampByHandle(path);
    CountFailure();
    return ItemWrite::Failed;
}

// What the rebuild keeps of the old folder: its own name, attributes and times.
struct OldFolder {
    wchar_t name[MAX_PATH];
    DWORD attributes;
    FILETIME created, accessed, written;
};

// Sets the old folder's own times again: moving its contents out and back
// in made the file system touch them.
void PutBackFolderTimes(const wchar_t *path, const OldFolder &old)
{
    FileHandle folder(CreateFileW(path, FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder.Valid()) SetFileTime(folder.Get(), &old.created, &old.accessed, &old.written);
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
bool UndoRebuild(const wchar_t *folder, const wchar_t *temporary, const OldFolder &old,
                 const std::vector<FolderEntry> &entries, const RebuildProgress &progress)
{
    bool complete = true;
    for (std::size_t i = progress.moved; i-- > 0;)
        if (!MoveEntry(folder, temporary, entries[i])) complete = false;
    if (complete && progress.created && !RemoveDirectoryW(folder)) complete = false;
    if (complete && progress.renamed && !MoveFileW(temporary, folder)) complete = false;
    if (!complete) return false;
    PutBackFolderTimes(folder, old);
    SetFileAttributesW(folder, old.attributes);
    return true;
}

// The folder under its own long name: reached by a short one, it must come
// back under the name it had, never under the short one.
bool LongFolderPath(const char *path, const OldFolder &old, wchar_t (&out)[kPathBufferSize])
{
    const int slash = LastSeparator(path, IsProcessLeadByte);
    if (slash < 0) return false;
    std::string parent(path, static_cast<std::size_t>(slash));
    wchar_t wideParent[kPathBufferSize];
    return WidePath(parent.c_str(), wideParent) && JoinWide(wideParent, old.name, out);
}

ItemWrite RebuildFolder(HWND owner, const char *path, const OldFolder &old, const DateTime &target)
{
    // Settled before anything is renamed: a time that is no date fails here.
    if (!IsValidDateTime(target)) {
        CountFailure();
        return ItemWrite::Failed;
    }
    DateTime momentFields;
    if (!ComputeCreationMoment(target, &momentFields)) {
        ReportRecreate(owner, kReportLimit1980, path, nullptr);
        return ItemWrite::Failed;
    }
    // Without the right to set the clock the folder is never taken apart:
    // the way that needs no clock is taken straight away.
    if (g_clockNotPutBack || !g_platform.enableClockRight()) return WriteByHandleOrFail(path);
    const SYSTEMTIME moment = SystemTimeOf(momentFields);
    char temporary[kPathBufferSize];
    if (!FindTemporaryName(path, temporary)) {
        ReportRecreate(owner, kReportTemporaryName, path, nullptr);
        return ItemWrite::Failed;
    }
    std::vector<FolderEntry> entries;
    wchar_t folder[kPathBufferSize], wideTemporary[kPathBufferSize];
    if (!LongFolderPath(path, old, folder) || !WidePath(temporary, wideTemporary) ||
        !ReadMovableEntries(path, temporary, entries)) {
        CountFailure();
        return ItemWrite::Failed;
    }

    // The rename must not be refused for a read-only folder.
    if (!SetFileAttributesW(folder, FILE_ATTRIBUTE_NORMAL)) {
        CountFailure();
        return ItemWrite::Failed;
    }
    RebuildProgress progress;
    bool failed = false;
    bool clockRefused = false;
    bool momentMissing = false;
    progress.renamed = MoveFileW(folder, wideTemporary) != FALSE;
    if (!progress.renamed) failed = true;
    if (!failed) {
        bool clockPutBack = true;
        const CreateResult result = CreateUnderClock(folder, moment, &clockPutBack);
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
        if (MoveEntry(wideTemporary, folder, entries[i]))
            progress.moved = i + 1;
        else
            failed = true;
    }
    if (!failed && !RemoveDirectoryW(wideTemporary)) failed = true;
    if (!failed) {
        SetFileAttributesW(folder, old.attributes);
        // Complete, but handed another creation time, or given other times by
        // the moves: written again by handle.
        if (momentMissing || !RebuiltFolderHasTarget(folder, target)) return WriteByHandleOrFail(path);
        return ItemWrite::Written;
    }
    if (!UndoRebuild(folder, wideTemporary, old, entries, progress)) {
        CountFailure();
        ReportRecreate(owner, kReportLeftBehind, path, temporary);
        return ItemWrite::Failed;
    }
    // The folder is as it was. A clock that cannot be set (an ordinary user's
    // lot) still leaves the handle writer where the system has one.
    if (clockRefused) return WriteByHandleOrFail(path);
    CountFailure();
    return ItemWrite::Failed;
}

}  // namespace

int g_clockNotPutBack = 0;

bool FolderTargetReachable()
{
    DateTime moment;
    return ComputeCreationMoment(RoundedToEvenSecond(ReadTimeFields(g_targetTime)), &moment);
}

ItemWrite WriteTimestampByRecreate(HWND owner, const char *path)
{
    // A "?" from a name the code page cannot spell would match other items.
    if (!path || std::strlen(path) > static_cast<std::size_t>(kMaxPathChars) ||
        HasWildcard(path)) {
        CountFailure();
        return ItemWrite::Failed;
    }
    const DateTime target = RoundedToEvenSecond(ReadTimeFields(g_targetTime));
    OldFolder old = {};
    {
        FileHandle item;
        switch (OpenItemForChange(path, item)) {
        case ItemReach::Opened: break;
        case ItemReach::Missing:
            ReportRecreate(owner, kReportMissingItem, path, nullptr);
            return ItemWrite::Missing;
        case ItemReach::ThroughLink: return ItemWrite::LinkLeftAlone;
        case ItemReach::OwnProgram: return ItemWrite::OwnProgram;
        case ItemReach::Refused: CountFailure(); return ItemWrite::Failed;
        }
        BY_HANDLE_FILE_INFORMATION info = {};
        if (!GetFileInformationByHandle(item.Get(), &info)) {
            CountFailure();
            return ItemWrite::Failed;
        }
        if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            item.Close();
            return WriteFileTimes(path, target);
        }
        // A folder that is a link, opened as itself: its contents live
        // elsewhere and would be carried out of the place they belong to.
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return ItemWrite::LinkLeftAlone;
        old.attributes = info.dwFileAttributes;
        old.created = info.ftCreationTime;
        old.accessed = info.ftLastAccessTime;
        old.written = info.ftLastWriteTime;
    }
    wchar_t widePath[kPathBufferSize];
    WIN32_FIND_DATAW found = {};
    {
        FindHandle search(WidePath(path, widePath) ? FindFirstFileW(widePath, &found)
                                                   : INVALID_HANDLE_VALUE);
        if (!search.Valid()) {
            CountFailure();
            return ItemWrite::Failed;
        }
    }
    std::wmemcpy(old.name, found.cFileName, MAX_PATH);
    const int clockWasWrong = g_clockNotPutBack;
    const ItemWrite result = RebuildFolder(owner, path, old, target);
    if (!clockWasWrong && g_clockNotPutBack)
        ReportRecreate(owner, kReportClockNotPutBack, path, nullptr);
    return result;
}
