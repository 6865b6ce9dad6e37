// Prints how fast klokan99's own walk changes a generated tree of 10,000
// files in 500 folders through the handle writer, against two loops over the
// same entries: (a) the bare limit, one open and one SetFileTime per entry;
// (b) the Win32 calls the handle writer makes, with nothing around them.
// The program's own path is set, as in the programs, so every item is checked
// against it. The walk alone stands beside the walk as the command runs it
// (counting, journal, progress and the window's pump), so each cost shows.
// The walk once more where links open as themselves (Windows), forced: no
// item is then asked where its open led. Then what each call on an open item
// costs beside (a).
// Then the walk over 100,000 files in 5,000 nested folders, with the peak
// working set.
// Then the same tree through the rebuild writer (a volume that is not NTFS
// and the simulated clock), with how long the clock stays set per folder.
// Usage: change_bench.exe [repetitions]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "change_run.h"
#include "item_access.h"
#include "journal.h"
#include "language.h"
#include "local_time.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "platform_seams.h"
#include "run_feedback.h"
#include "run_progress.h"
#include "simulated_clock.h"
#include "subtree_walk.h"
#include "target_time.h"
#include "test_support.h"
#include "timestamp_items.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

constexpr int kFolders = 500;
constexpr int kFilesPerFolder = 20;

FILETIME g_targetUtc;

void SetTarget()
{
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    SYSTEMTIME target;
    BuildTargetRecord(&target);
    LocalTimeToFileTime(target, &g_targetUtc, TimeRuleFor(true));
}

// (a) The bare limit: open for attribute writing, one SetFileTime, close.
int BareLimit(const std::vector<std::string> &entries)
{
    int failures = 0;
    for (const std::string &path : entries) {
        const std::wstring wide = L"\\\\?\\" + W(path);
        HANDLE file = CreateFileW(wide.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE || !SetFileTime(file, &g_targetUtc, &g_targetUtc, &g_targetUtc))
            ++failures;
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    return failures;
}

// The handle writer's open: attributes read and written, links opened as
// themselves, everything shared.
HANDLE OpenAsTheWriterDoes(const std::string &path)
{
    const std::wstring wide = L"\\\\?\\" + W(path);
    return CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// (b) The calls the handle writer makes, in its order, nothing else: one
// handle for attributes only, the look at where it led (the final path), the
// identity check against the program's own file, the write and the read-back.
int WriterCalls(const std::vector<std::string> &entries)
{
    int failures = 0;
    for (const std::string &path : entries) {
        HANDLE file = OpenAsTheWriterDoes(path);
        if (file == INVALID_HANDLE_VALUE) {
            ++failures;
            continue;
        }
        wchar_t finalPath[MAX_PATH + 8];
        GetFinalPathNameByHandleW(file, finalPath, MAX_PATH + 8, 0);
        BY_HANDLE_FILE_INFORMATION info;
        GetFileInformationByHandle(file, &info);
        FILETIME created, accessed, written;
        if (!SetFileTime(file, &g_targetUtc, &g_targetUtc, &g_targetUtc) ||
            !GetFileTime(file, &created, &accessed, &written))
            ++failures;
        CloseHandle(file);
    }
    return failures;
}

// One call added to loop (a), by what it asks of the open item.
using ExtraCall = void (*)(HANDLE file);

using QueryInformationFn = LONG(WINAPI *)(HANDLE, void *, void *, ULONG, int);

void NoCall(HANDLE) {}
void ReadBack(HANDLE file)
{
    FILETIME created, accessed, written;
    GetFileTime(file, &created, &accessed, &written);
}
void FinalPath(HANDLE file)
{
    wchar_t finalPath[MAX_PATH + 8];
    GetFinalPathNameByHandleW(file, finalPath, MAX_PATH + 8, 0);
}
void SizeOfHandle(HANDLE file)
{
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
}
void AttributesOfHandle(HANDLE file)
{
    FILE_ATTRIBUTE_TAG_INFO tag;
    GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag);
}
void IndexOfHandle(HANDLE file)
{
    static const QueryInformationFn query = reinterpret_cast<QueryInformationFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationFile")));
    ULONG_PTR status[2];
    LARGE_INTEGER index;
    query(file, status, &index, sizeof index, 6 /* FileInternalInformation */);
}
void IdOfHandle(HANDLE file)
{
    // FileIdInfo (Windows 8): the volume's serial number and a 128-bit id.
    struct {
        ULONGLONG volume;
        BYTE id[16];
    } id;
    GetFileInformationByHandleEx(file, static_cast<FILE_INFO_BY_HANDLE_CLASS>(18), &id, sizeof id);
}
void IdentityOfHandle(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    GetFileInformationByHandle(file, &info);
}
void FinalPathAndReadBack(HANDLE file)
{
    FinalPath(file);
    ReadBack(file);
}
void FinalPathSizeAndReadBack(HANDLE file)
{
    FinalPath(file);
    SizeOfHandle(file);
    ReadBack(file);
}

// Loop (a) with the writer's open (attributes read and written, links opened
// as themselves) and one more call on each handle.
int BareWithCall(const std::vector<std::string> &entries, ExtraCall extra)
{
    int failures = 0;
    for (const std::string &path : entries) {
        HANDLE file = OpenAsTheWriterDoes(path);
        if (file == INVALID_HANDLE_VALUE) {
            ++failures;
            continue;
        }
        if (!SetFileTime(file, &g_targetUtc, &g_targetUtc, &g_targetUtc)) ++failures;
        extra(file);
        CloseHandle(file);
    }
    return failures;
}

// Loop (a) with the calls no change can go without, best of the repetitions:
// the read-back everywhere, and the final path where links are followed.
struct LeastCalls {
    double bare = 0, readBack = 0, finalPathReadBack = 0;
};

// What each call the writer could make costs beside loop (a), measured side
// by side: the figures a choice between them rests on.
LeastCalls CallCosts(const std::vector<std::string> &entries, int repetitions)
{
    struct Call {
        const char *name;
        ExtraCall call;
        std::vector<double> seconds;
    } calls[] = {
        {"(a) with the writer's open", NoCall, {}},
        {"+ read-back (GetFileTime)", ReadBack, {}},
        {"+ GetFinalPathNameByHandleW", FinalPath, {}},
        {"+ size (GetFileSizeEx)", SizeOfHandle, {}},
        {"+ attributes (FileAttributeTagInfo)", AttributesOfHandle, {}},
        {"+ file index (FileInternalInformation)", IndexOfHandle, {}},
        {"+ FileIdInfo (volume and id)", IdOfHandle, {}},
        {"+ GetFileInformationByHandle", IdentityOfHandle, {}},
        {"+ final path + read-back", FinalPathAndReadBack, {}},
        {"+ final path + size + read-back", FinalPathSizeAndReadBack, {}},
    };
    std::vector<double> bare;
    for (int r = 0; r < repetitions; ++r) {
        Stopwatch watch;
        BareLimit(entries);
        bare.push_back(watch.Seconds());
        for (Call &c : calls) {
            watch.Restart();
            BareWithCall(entries, c.call);
            c.seconds.push_back(watch.Seconds());
        }
    }
    std::printf("  what one call on each handle costs, time ratio to (a) (%.0f /s):\n",
                static_cast<double>(entries.size()) / Best(bare));
    for (const Call &c : calls)
        std::printf("    %-42s %5.2f\n", c.name, Best(c.seconds) / Best(bare));
    return {Best(bare), Best(calls[1].seconds), Best(calls[8].seconds)};
}

// The least a walk can take on this tree: the calls it cannot go without on
// every entry, and one listing of every folder. What the walk takes beyond
// that is its own.
void LeastWalk(const std::string &root, const LeastCalls &least, double wineWalk, double windowsWalk)
{
    std::vector<double> listings;
    for (int r = 0; r < 3; ++r) {
        Stopwatch watch;
        WalkSubtree(W(root), g_programPath, [](const std::wstring &, bool) { return true; },
                    [](const std::wstring &, NotChanged) { return true; }, WalkOrder::ContentsFirst);
        listings.push_back(watch.Seconds());
    }
    const double listing = Best(listings);
    const double wine = least.finalPathReadBack + listing;
    const double windows = least.readBack + listing;
    std::printf("  the least a walk can take (its calls on every entry and one listing of every folder):\n");
    std::printf("    Wine link check: (a) + final path + read-back + listing  %.2f s, %.2f x (a);"
                " walk/least %.2f\n", wine, wine / least.bare, wineWalk / wine);
    std::printf("    links open as themselves: (a) + read-back + listing     %.2f s, %.2f x (a);"
                " walk/least %.2f\n", windows, windows / least.bare, windowsWalk / windows);
}

// The program's walk as the command runs it for the first selected row.
int ProgramWalk(const std::string &root)
{
    g_runStatus = 1;
    ForgetCheckedDrive();
    ChangeSubtreeTimestamps(nullptr, W(root), 0);
    return g_runStatus;
}

// The walk as the command runs it: its items counted first, a journal of
// every entry, and the window's turn between items (the run's own pump).
int JournalledWalk(const std::string &root)
{
    g_runStatus = 1;
    ForgetCheckedDrive();
    ForgetVolumeAnswers();
    ForgetFinalPathCache();
    const std::vector<std::wstring> chosen = {W(root)};
    RunWithJournal(nullptr, JournalKind::Timestamp, TimestampAfter, chosen,
                   [&] { return CountRunItems(chosen, true); },
                   [&] { ChangeSubtreeTimestamps(nullptr, chosen[0], 0); });
    return g_runStatus;
}

struct Rates {
    std::vector<double> bare, calls, walk, windowsWalk;
};

bool OpenedAsThemselves() { return true; }

// The parts of the walk, each timed alone over the same tree.
void ProfileWalk(const std::string &root, const std::vector<std::string> &entries, double walkSeconds,
                 double callsSeconds)
{
    Stopwatch watch;
    int visited = 0;
    WalkSubtree(W(root), g_programPath, [&](const std::wstring &, bool) { return ++visited > 0; },
                [](const std::wstring &, NotChanged) { return true; }, WalkOrder::ContentsFirst);
    const double listing = watch.Seconds();

    // The first item's drive checks, timed over as many rounds as there are
    // entries; the walk makes one round per run.
    const std::string drive = root.substr(0, 3);
    watch.Restart();
    for (size_t i = 0; i < entries.size(); ++i) GetDriveTypeA(drive.c_str());
    const double driveKind = watch.Seconds();
    watch.Restart();
    for (size_t i = 0; i < entries.size(); ++i) HasFreeSpace(W(drive), 1);
    const double freeSpace = watch.Seconds();
    watch.Restart();
    for (size_t i = 0; i < entries.size(); ++i) DetectNtfs(W(drive));
    const double ntfs = watch.Seconds();
    const double checks = driveKind + freeSpace + ntfs;

    // The walk as it runs for a later selected row: no volume checks.
    watch.Restart();
    g_runStatus = 1;
    ChangeSubtreeTimestamps(nullptr, W(root), 1);
    const double laterRow = watch.Seconds();

    watch.Restart();
    g_runStatus = 1;
    for (const std::string &path : entries) WriteTimestampByHandle(W(path));
    const double writer = watch.Seconds();

    // The writer's own work before it touches the item: the target record and its conversion.
    watch.Restart();
    for (size_t i = 0; i < entries.size(); ++i) {
        SYSTEMTIME target;
        FILETIME utc;
        BuildTargetRecord(&target);
        LocalTimeToFileTime(target, &utc, TimeRuleFor(true));
    }
    const double conversion = watch.Seconds();

    // What the command adds around the walk: counting, the journal written
    // while counting, and the one wait for the disk before the first change.
    const std::vector<std::wstring> chosen = {W(root)};
    watch.Restart();
    CountRunItems(chosen, true);
    const double counting = watch.Seconds();
    watch.Restart();
    JournalBegin(JournalKind::Timestamp, false, TimestampAfter);
    JournalHoldSync(true);
    CountRunItems(chosen, true);
    JournalHoldSync(false);
    const double journalling = watch.Seconds();
    watch.Restart();
    JournalFlush();
    const double syncing = watch.Seconds();
    JournalEnd(RunOutcome::Completed);

    std::printf("  where the walk's time goes (each part timed alone, %.2f s for the walk):\n", walkSeconds);
    std::printf("    counting the items first              %6.2f s  %4.0f%%\n", counting,
                100 * counting / walkSeconds);
    std::printf("    counting with the journal written     %6.2f s  %4.0f%%\n", journalling,
                100 * journalling / walkSeconds);
    std::printf("    the journal's wait for the disk       %6.2f s  %4.0f%%\n", syncing,
                100 * syncing / walkSeconds);
    std::printf("    listing the folders (%d entries)    %6.2f s  %4.0f%%\n", visited, listing,
                100 * listing / walkSeconds);
    const double rounds = static_cast<double>(entries.size());
    std::printf("    one round of drive checks (once per run) %.2f ms, %.1f entries' worth of the walk\n",
                1000 * checks / rounds, checks / walkSeconds);
    std::printf("      drive kind %.2f ms, free space %.2f ms, file-system name %.2f ms\n",
                1000 * driveKind / rounds, 1000 * freeSpace / rounds, 1000 * ntfs / rounds);
    std::printf("    handle writer over the entry list    %6.2f s  %4.0f%%\n", writer,
                100 * writer / walkSeconds);
    std::printf("    the same walk without the checks (as for a later selected row) %.2f s, %.0f /s,"
                " time ratio to (b) %.2f\n",
                laterRow, static_cast<double>(entries.size()) / laterRow, laterRow / callsSeconds);
    std::printf("      of it: target record + conversion  %6.2f s  %4.0f%%\n", conversion,
                100 * conversion / walkSeconds);
}

// The clock seam wrapped: the time between setting the clock to the target
// and putting it back, summed over the rebuilt folders.
struct ClockSpan {
    BOOL (*inner)(const SYSTEMTIME *) = nullptr;
    int sets = 0;
    double setAt = 0;
    double total = 0;
    double longest = 0;
    int spans = 0;
};
ClockSpan g_span;

BOOL TimedSetClock(const SYSTEMTIME *now)
{
    const BOOL result = g_span.inner(now);
    const double at = NowSeconds();
    if (g_span.sets++ % 2 == 0) {
        g_span.setAt = at;
    } else {
        const double span = at - g_span.setAt;
        g_span.total += span;
        if (span > g_span.longest) g_span.longest = span;
        ++g_span.spans;
    }
    return result;
}

bool NotNtfs(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"FAT32", static_cast<int>(size));
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    // The real clock setter is never reachable from here.
    LockClockSetter();
    g_windowsKind = 6;
    // The programs always know their own file, and every item they change
    // is checked against it: so is every item here.
    wchar_t ownPath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, ownPath, MAX_PATH);
    g_programPath = ownPath;
    SetTarget();
    const int repetitions = Repetitions(argc, argv, 3);
    // A refusal would open a message box; it is answered and counted, never waited on.
    ModalAnswerer answerer({IDOK});

    TempFolder root;
    std::printf("change_bench: making %d folders with %d files each in %s\n", kFolders, kFilesPerFolder,
                root.Path().c_str());
    const std::vector<std::string> entries = MakeBenchTree(root.Path(), kFolders, kFilesPerFolder);
    const double count = static_cast<double>(entries.size());
    DetectNtfs(W(root.Path().substr(0, 3)));
    std::printf("  %zu entries, volume NTFS: %d, best of %d runs each, side by side\n", entries.size(),
                g_ntfsVolume, repetitions);

    // Ten times the entries, in nested folders, walked in turn with the rest
    // so that both walks meet the same machine. The tree's own list is not
    // kept, so the working set is the walk's.
    TempFolder big;
    const std::size_t bigCount = MakeBenchTreeUnlisted(big.Path(), 10 * kFolders, kFilesPerFolder);
    std::vector<double> bigWalk;
    int bigStatus = 1;

    TempFolder journals;
    g_journalFolder = W(journals.Path());
    std::vector<double> journalled;
    int journalledStatus = 1;

    Rates seconds;
    int walkStatus = 1, windowsStatus = 1, bareFailures = 0, callFailures = 0;
    for (int r = 0; r < repetitions; ++r) {
        Stopwatch bigWatch;
        bigStatus = ProgramWalk(big.Path());
        bigWalk.push_back(bigWatch.Seconds());
        Stopwatch watch;
        bareFailures += BareLimit(entries);
        seconds.bare.push_back(watch.Seconds());
        watch.Restart();
        callFailures += WriterCalls(entries);
        seconds.calls.push_back(watch.Seconds());
        watch.Restart();
        walkStatus = ProgramWalk(root.Path());
        seconds.walk.push_back(watch.Seconds());
        // As on Windows, where a link opens as itself and no item is asked
        // where its open led: forced here, since Wine follows every link.
        const PlatformSeams probed = g_platform;
        g_platform.linksOpenAsThemselves = OpenedAsThemselves;
        watch.Restart();
        windowsStatus = ProgramWalk(root.Path());
        seconds.windowsWalk.push_back(watch.Seconds());
        g_platform = probed;
        watch.Restart();
        journalledStatus = JournalledWalk(root.Path());
        journalled.push_back(watch.Seconds());
    }
    const double bare = count / Best(seconds.bare);
    const double calls = count / Best(seconds.calls);
    const double walk = count / Best(seconds.walk);
    std::printf("1. change throughput (entries/s)\n");
    std::printf("  (a) bare limit, open + SetFileTime    %8.0f /s  (failures %d)\n", bare, bareFailures);
    std::printf("  (b) the handle writer's Win32 calls   %8.0f /s  (failures %d)\n", calls, callFailures);
    std::printf("  walk through the handle writer        %8.0f /s  (run status %d)\n", walk, walkStatus);
    std::printf("  time ratio walk/(b) %.2f, walk/(a) %.2f (goal <= 1.45)\n", calls / walk, bare / walk);
    const double windowsWalk = count / Best(seconds.windowsWalk);
    std::printf("  the walk where links open as themselves (Windows, forced) %8.0f /s  (run status %d)\n",
                windowsWalk, windowsStatus);
    std::printf("  time ratio walk/(a) on that path %.2f (goal <= 1.15)\n", bare / windowsWalk);
    std::printf("  the walk as the command runs it (count, journal, progress) %8.0f /s  (run status %d)\n",
                count / Best(journalled), journalledStatus);
    std::printf("  time ratio journalled/walk %.2f (goal <= 1.10)\n", Best(journalled) / Best(seconds.walk));
    const double bigRate = static_cast<double>(bigCount) / Best(bigWalk);
    std::printf("  walk over %zu entries (%d folders)    %8.0f /s  (run status %d)\n", bigCount,
                10 * kFolders, bigRate, bigStatus);
    std::printf("  throughput ratio 100,000/10,000 %.2f (goal >= 0.9)\n", bigRate / walk);
    const LeastCalls least = CallCosts(entries, repetitions);
    LeastWalk(root.Path(), least, Best(seconds.walk), Best(seconds.windowsWalk));
    std::printf("5. peak working set after the 10,000- and 100,000-entry walks: %.1f MiB (goal < 40)\n",
                PeakWorkingSetMiB());
    ProfileWalk(root.Path(), entries, Best(seconds.walk), Best(seconds.calls));

    // 2. The rebuild path: a volume that is not NTFS, the simulated clock.
    const PlatformSeams saved = g_platform;
    ChangeLockHold lock;  // folders are rebuilt only under the change lock, as in a run
    UseSimulatedClock();
    g_span.inner = g_platform.setClock;
    g_platform.setClock = TimedSetClock;
    g_platform.volumeFileSystem = NotNtfs;
    std::vector<double> rebuild, handle;
    int rebuildStatus = 1;
    size_t rebuilt = 0;
    for (int r = 0; r < repetitions; ++r) {
        g_simulatedClock.created.clear();
        Stopwatch watch;
        rebuildStatus = ProgramWalk(root.Path());
        rebuild.push_back(watch.Seconds());
        rebuilt = g_simulatedClock.created.size();
        g_platform.volumeFileSystem = saved.volumeFileSystem;
        watch.Restart();
        ProgramWalk(root.Path());
        handle.push_back(watch.Seconds());
        g_platform.volumeFileSystem = NotNtfs;
    }
    g_platform = saved;
    std::printf("2. rebuild writer (not NTFS, simulated clock)\n");
    std::printf("  rebuild walk %8.0f /s, handle walk %8.0f /s, time ratio rebuild/handle %.2f\n",
                count / Best(rebuild), count / Best(handle), Best(rebuild) / Best(handle));
    std::printf("  run status %d, folders rebuilt in the last run %zu\n", rebuildStatus, rebuilt);
    if (g_span.spans > 0)
        std::printf("  clock set per folder: mean %.3f ms, longest %.3f ms over %d folders (goal < 1 ms)\n",
                    1000 * g_span.total / g_span.spans, 1000 * g_span.longest, g_span.spans);
    std::printf("5. peak working set after the rebuild runs: %.1f MiB\n", PeakWorkingSetMiB());
    if (!answerer.Seen().empty())
        std::printf("message boxes answered: %s\n", answerer.Describe().c_str());
    return 0;
}
