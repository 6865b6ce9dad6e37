#include "recreate_writer.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "creation_moment.h"
#include "handles.h"
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

// A file: as the handle writer, but opened without backup semantics.
void WriteFileTimes(const char *path, const DateTime &target)
{
    FILETIME utc;
    if (!IsValidDateTime(target) || !LocalTimeToFileTime(SystemTimeOf(target), &utc)) {
        CountFailure();
        return;
    }
    const DWORD savedAttributes = GetFileAttributesA(path);
    // Read-only, hidden and system files refuse to be opened for writing.
    SetFileAttributesA(path, FILE_ATTRIBUTE_ARCHIVE);
    bool failed = false;
    {
        FileHandle file(CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_ARCHIVE, nullptr));
        failed = !file.Valid() || !SetFileTime(file.Get(), &utc, &utc, &utc);
    }
    if (savedAttributes == INVALID_FILE_ATTRIBUTES || !SetFileAttributesA(path, savedAttributes))
        failed = true;
    if (failed) CountFailure();
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
CreateResult CreateUnderClock(const char *path, const SYSTEMTIME &moment, bool *clockPutBack)
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

// Whether the re-created, still empty folder carries the creation moment.
// Systems of the NT family can hand a folder made again under the same name
// the creation time of the entry that just left it.
bool NewFolderHasItsMoment(const char *path, const DateTime &target)
{
    FILETIME targetUtc;
    WIN32_FILE_ATTRIBUTE_DATA folder;
    // Volumes that are rebuilt keep local time, turned into UTC with today's bias.
    return LocalTimeToFileTime(SystemTimeOf(target), &targetUtc, TimeRule::CurrentBias) &&
           GetFileAttributesExA(path, GetFileExInfoStandard, &folder) &&
           CreationTimeMatches(folder.ftCreationTime, targetUtc);
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
void WriteByHandleOrFail(const char *path)
{
    if (CanWriteFolderTimesByHandle())
        WriteTimestampByHandle(path);
    else
        CountFailure();
}

// Sets the old folder's own times again: moving its contents out and back
// in made the file system touch them.
void PutBackFolderTimes(const char *path, const WIN32_FIND_DATAA &old)
{
    FileHandle folder(CreateFileA(path, FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder.Valid())
        SetFileTime(folder.Get(), &old.ftCreationTime, &old.ftLastAccessTime,
                    &old.ftLastWriteTime);
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
bool UndoRebuild(const char *path, const char *temporary, const WIN32_FIND_DATAA &old,
                 const std::vector<FolderEntry> &entries, const RebuildProgress &progress)
{
    bool complete = true;
    wchar_t widePath[kPathBufferSize], wideTemporary[kPathBufferSize];
    WidePath(path, widePath);
    WidePath(temporary, wideTemporary);
    for (std::size_t i = progress.moved; i-- > 0;)
        if (!MoveEntry(widePath, wideTemporary, entries[i])) complete = false;
    if (complete && progress.created && !RemoveDirectoryA(path)) complete = false;
    if (complete && progress.renamed && !MoveFileA(temporary, path)) complete = false;
    if (!complete) return false;
    PutBackFolderTimes(path, old);
    SetFileAttributesA(path, old.dwFileAttributes);
    return true;
}

void RebuildFolder(HWND owner, const char *path, const WIN32_FIND_DATAA &old,
                   const DateTime &target)
{
    // Settled before anything is renamed: a time that is no date fails here.
    if (!IsValidDateTime(target)) {
        CountFailure();
        return;
    }
    DateTime momentFields;
    if (!ComputeCreationMoment(target, &momentFields)) {
        ReportRecreate(owner, kReportLimit1980, path, nullptr);
        return;
    }
    const SYSTEMTIME moment = SystemTimeOf(momentFields);
    char temporary[kPathBufferSize];
    if (!FindTemporaryName(path, temporary)) {
        ReportRecreate(owner, kReportTemporaryName, path, nullptr);
        return;
    }
    std::vector<FolderEntry> entries;
    // A linked folder is not rebuilt: its contents live elsewhere and would be
    // carried out of the place they belong to.
    if ((old.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !ReadMovableEntries(path, temporary, entries)) {
        CountFailure();
        return;
    }
    EnableClockPrivilege();

    // The rename must not be refused for a read-only folder.
    if (!SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL)) {
        CountFailure();
        return;
    }
    RebuildProgress progress;
    bool failed = false;
    bool clockRefused = false;
    bool momentMissing = false;
    progress.renamed = MoveFileA(path, temporary) != FALSE;
    if (!progress.renamed) failed = true;
    if (!failed) {
        bool clockPutBack = true;
        const CreateResult result = CreateUnderClock(path, moment, &clockPutBack);
        // The clock not put back is reported as a failure of the item; the
        // folder itself is kept whichever way the create went.
        if (!clockPutBack) CountFailure();
        progress.created = result == CreateResult::Created;
        clockRefused = result == CreateResult::ClockRefused;
        failed = !progress.created;
        if (progress.created) momentMissing = !NewFolderHasItsMoment(path, target);
    }
    wchar_t widePath[kPathBufferSize], wideTemporary[kPathBufferSize];
    WidePath(path, widePath);
    WidePath(temporary, wideTemporary);
    for (std::size_t i = 0; !failed && i < entries.size(); ++i) {
        if (MoveEntry(wideTemporary, widePath, entries[i]))
            progress.moved = i + 1;
        else
            failed = true;
    }
    if (!failed && !RemoveDirectoryA(temporary)) failed = true;
    if (!failed) {
        SetFileAttributesA(path, old.dwFileAttributes);
        // Complete, but handed another creation time: written again by handle.
        if (momentMissing) WriteByHandleOrFail(path);
        return;
    }
    if (!UndoRebuild(path, temporary, old, entries, progress)) {
        CountFailure();
        ReportRecreate(owner, kReportLeftBehind, path, temporary);
        return;
    }
    // The folder is as it was. A clock that cannot be set (an ordinary user's
    // lot) still leaves the handle writer where the system has one.
    if (clockRefused)
        WriteByHandleOrFail(path);
    else
        CountFailure();
}

}  // namespace

bool EnableClockPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege",
                                    &privileges.Privileges[0].Luid) &&
              AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
              GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok;
}

void WriteTimestampByRecreate(HWND owner, const char *path)
{
    // A "?" from a name the code page cannot spell would match other items.
    if (!path || std::strlen(path) > static_cast<std::size_t>(kMaxPathChars) ||
        HasWildcard(path)) {
        CountFailure();
        return;
    }
    const DateTime target = RoundedToEvenSecond(ReadTimeFields(g_targetTime));
    WIN32_FIND_DATAA found;
    {
        FindHandle search(FindFirstFileA(path, &found));
        if (!search.Valid()) {
            ReportRecreate(owner, kReportMissingItem, path, nullptr);
            return;
        }
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RebuildFolder(owner, path, found, target);
    else
        WriteFileTimes(path, target);
}
