// The journal of klokan99's runs, Undo last change, and a run stopped on
// request, on real trees in the test's temporary folder.
#include <map>

#include "attribute_change.h"
#include "change_test_support.h"
#include "journal.h"
#include "run_feedback.h"
#include "run_progress.h"
#include "undo.h"
#include "date_time_selector.h"
#include "labels_layout.h"
#include "simulated_clock.h"
#include "timestamp_command.h"

namespace {

constexpr int kReadOnlyBox = 123, kHiddenBox = 124, kArchiveBox = 126, kSubfoldersBox = 127;
constexpr int kCapitalRadio = 129;

struct Seen {
    std::string name;  // as stored
    DWORD attributes;
    ULONGLONG written;
    bool operator==(const Seen &o) const
    {
        return name == o.name && attributes == o.attributes && written == o.written;
    }
};
std::ostream &operator<<(std::ostream &out, const Seen &s)
{
    return out << s.name << " attr " << s.attributes << " written " << s.written;
}

class Undo : public ChangeCommandTest {
protected:
    void SetUp() override
    {
        ChangeCommandTest::SetUp();
        savedJournals = g_journalFolder;
        journals = temp.Path() + "\\journals";
        ASSERT_TRUE(CreateDirectoryW(W(journals).c_str(), nullptr));
        g_journalFolder = W(journals);
        g_includeSubfolders = 0;
    }
    void TearDown() override
    {
        g_journalFolder = savedJournals;
        g_runPump = BetweenRunItems;
        g_betweenItemsEveryMs = 50;
        ChangeCommandTest::TearDown();
    }
    // A tree of read-only, hidden and system items with times of their own.
    void MakeTree()
    {
        Folder("Top");
        Folder("Top\\Sys");
        const char *files[] = {"Top\\a.txt", "Top\\b.txt", "Top\\Sys\\c.txt", "d.txt"};
        for (const char *file : files) File(file);
        int second = 0;
        for (const char *item : {"Top\\a.txt", "Top\\b.txt", "Top\\Sys\\c.txt", "d.txt", "Top\\Sys", "Top"})
            ASSERT_TRUE(StampItem(Make(item), UtcOfLocal(2001, 2, 3, 4, 5, second += 2)));
        SetAttributes("Top\\a.txt", FILE_ATTRIBUTE_READONLY);
        SetAttributes("Top\\b.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        SetAttributes("Top\\Sys\\c.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
        SetAttributes("Top\\Sys", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
    }
    // Every item below the temporary folder (the journals aside), by its
    // path in small letters: its stored name, attributes and write time
    // (of folders too when folderTimes).
    std::map<std::string, Seen> Snapshot(bool folderTimes, const std::string &relative = "")
    {
        std::map<std::string, Seen> seen;
        WIN32_FIND_DATAW found = {};
        const std::string folder = relative.empty() ? temp.Path() : Make(relative);
        HANDLE search = FindFirstFileW(SystemPath(W(folder + "\\*")).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return seen;
        do {
            const std::string name = U(found.cFileName);
            if (name == "." || name == ".." || name == "journals" || name == "archive-probe") continue;
            const std::string child = relative.empty() ? name : relative + "\\" + name;
            std::string key = child;
            for (char &c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            seen[key] = {name, Attributes(child),
                         isFolder && !folderTimes ? 0 : ToCount(found.ftLastWriteTime)};
            if (isFolder) {
                std::map<std::string, Seen> below = Snapshot(folderTimes, child);
                seen.insert(below.begin(), below.end());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return seen;
    }
    static ULONGLONG ToCount(const FILETIME &t)
    {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    }
    // Undo last change, answering its question with Yes; gives the boxes seen.
    std::vector<SeenBox> RunUndo()
    {
        ModalAnswerer answerer({IDYES, IDOK});
        UndoLastChange(g_hMainWnd);
        return answerer.Seen();
    }
    void ChangeTimestamps()
    {
        SetTargetTime(2015, 6, 7, 8, 9, 10);
        ModalAnswerer answerer({IDYES, IDOK});
        TimestampChangeCommand(g_hMainWnd);
    }

    std::wstring savedJournals;
    std::string journals;
    IntGuard subfolders{g_includeSubfolders};
};

TEST_F(Undo, EachCommandIsUndoneToTheLastAttributeNameAndTime)
{
    struct Case {
        const char *command;
        std::function<void()> run;
        bool folderTimes;  // renaming an entry renews its folder's time: Letters leave them out
    };
    const std::vector<Case> cases = {
        {"timestamp", [&] { g_includeSubfolders = 1; ChangeTimestamps(); }, true},
        {"attributes",
         [&] { RunWithClicks(ChangeAttributesCommand, {kSubfoldersBox, kHiddenBox, kArchiveBox}, IDOK); },
         true},
        {"letters", [&] { RunWithClicks(ChangeLettersCommand, {kCapitalRadio, kSubfoldersBox}, IDOK); },
         false},
    };
    MakeTree();
    for (const Case &c : cases) {
        const std::map<std::string, Seen> before = Snapshot(c.folderTimes);
        ShowAndSelect({"Top", "d.txt"});
        c.run();
        g_includeSubfolders = 0;
        ASSERT_NE(Snapshot(c.folderTimes), before) << c.command << ": the run changed nothing";
        const std::vector<SeenBox> seen = RunUndo();
        ASSERT_EQ(seen.size(), 2u) << c.command;
        EXPECT_NE(seen[0].text.find("Do you undo the last change?"), std::string::npos) << seen[0].text;
        EXPECT_EQ(seen[1].text, "Undo put back 6 item(s).") << c.command;
        EXPECT_EQ(Snapshot(c.folderTimes), before) << c.command;
    }
    // The undo was journalled too: undoing it makes the last change again,
    // and then nothing older than the three runs is left to undo.
    const std::map<std::string, Seen> undone = Snapshot(false);
    std::vector<SeenBox> seen = RunUndo();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0].text.find("Undo of Change Letters, 6 items"), std::string::npos) << seen[0].text;
    EXPECT_EQ(Snapshot(false).at("top\\a.txt").name, "A.TXT");
    RunUndo();
    EXPECT_EQ(Snapshot(false), undone);
}

// Entries of the newest journal as they stand on the disk, read from within a run.
std::size_t g_entriesOnDisk = 0;

std::size_t NewestJournalEntries()
{
    WIN32_FIND_DATAW found = {};
    std::wstring newest;
    HANDLE search = FindFirstFileW((g_journalFolder + L"\\*.journal").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do
        if (newest < found.cFileName) newest = found.cFileName;
    while (FindNextFileW(search, &found));
    FindClose(search);
    JournalFile journal;
    return ReadJournal(g_journalFolder + L"\\" + newest, &journal) == JournalRead::Read
               ? journal.entries.size()
               : 0;
}

TEST_F(Undo, AStoppedRunChangesItemsUpToTheStopAndItsUndoPutsThemBack)
{
    Folder("Many");
    for (int i = 0; i < 20; ++i) File("Many\\f" + std::to_string(100 + i) + ".txt");
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(StampItem(Make("Many\\f" + std::to_string(100 + i) + ".txt"), UtcOfLocal(2001, 1, 1, 0, 0, 2 * i)));
    const std::map<std::string, Seen> before = Snapshot(true);
    // Esc arrives once eight items are done, as from the keyboard.
    g_betweenItemsEveryMs = 0;
    g_entriesOnDisk = 0;
    g_runPump = [](std::size_t done, std::size_t total) {
        if (total > 0 && done == 8) {
            // What has changed so far is on the disk already: the folder and its entries.
            g_entriesOnDisk = NewestJournalEntries();
            PostMessageW(g_hMainWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return BetweenRunItems(done, total);
    };
    wchar_t title[128] = {};
    GetWindowTextW(g_hMainWnd, title, 128);
    ShowAndSelect({"Many"});
    g_includeSubfolders = 1;
    SetTargetTime(2015, 6, 7, 8, 9, 10);
    {
        ModalAnswerer answerer({IDYES, IDYES, IDOK});
        TimestampChangeCommand(g_hMainWnd);
        const std::vector<SeenBox> seen = answerer.Seen();
        ASSERT_EQ(seen.size(), 3u) << answerer.Describe();
        EXPECT_EQ(seen[1].text, "Do you stop the change?\nItems not yet changed stay as they are.");
        EXPECT_EQ(seen[2].text, "The change was stopped.\n8 item(s) changed, 13 item(s) left as they were.");
    }
    EXPECT_EQ(g_entriesOnDisk, 21u);
    wchar_t after[128] = {};
    GetWindowTextW(g_hMainWnd, after, 128);
    EXPECT_STREQ(after, title);
    // Every item is either changed or untouched: eight changed, the folder not.
    const std::map<std::string, Seen> stopped = Snapshot(true);
    int changed = 0;
    for (const auto &item : stopped) changed += !(item.second == before.at(item.first));
    EXPECT_EQ(changed, 8);
    EXPECT_EQ(stopped.at("many"), before.at("many"));

    g_runPump = BetweenRunItems;
    const std::vector<SeenBox> seen = RunUndo();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Undo put back 8 item(s).");
    EXPECT_EQ(Snapshot(true), before);
}

TEST_F(Undo, AStoppedUndoIsTakenUpAgainWhereItStopped)
{
    Folder("Many");
    for (int i = 0; i < 20; ++i) File("Many\\f" + std::to_string(100 + i) + ".txt");
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(StampItem(Make("Many\\f" + std::to_string(100 + i) + ".txt"), UtcOfLocal(2001, 1, 1, 0, 0, 2 * i)));
    const std::map<std::string, Seen> before = Snapshot(true);
    ShowAndSelect({"Many"});
    g_includeSubfolders = 1;
    ChangeTimestamps();
    // Esc once the undo has put back eight items, and Yes to stop.
    g_betweenItemsEveryMs = 0;
    g_runPump = [](std::size_t done, std::size_t total) {
        if (total > 0 && done == 8) PostMessageW(g_hMainWnd, WM_KEYDOWN, VK_ESCAPE, 0);
        return BetweenRunItems(done, total);
    };
    {
        ModalAnswerer answerer({IDYES, IDYES, IDOK});
        UndoLastChange(g_hMainWnd);
        ASSERT_EQ(answerer.Seen().size(), 3u) << answerer.Describe();
        EXPECT_EQ(answerer.Seen()[2].text, "The change was stopped.\n8 item(s) changed, 13 item(s) left as they were.");
    }
    g_runPump = BetweenRunItems;
    // The next Undo takes up the rest, not the stopped undo's own change.
    const std::vector<SeenBox> seen = RunUndo();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text.find("Do you undo the rest of the last change?\n  Undo the rest of: Change "
                                "Timestamp, 21 items, "),
              0u)
        << seen[0].text;
    EXPECT_NE(seen[0].text.find("(13 left)"), std::string::npos) << seen[0].text;
    EXPECT_EQ(seen[1].text, "Undo put back 13 item(s).");
    EXPECT_EQ(Snapshot(true), before);
}

// Made by the pump of the next test while the run goes on.
std::string g_lateFolder;

TEST_F(Undo, AnEntryMadeDuringTheRunIsWrittenDownBeforeItChanges)
{
    for (const char *folder : {"Two", "Two\\A", "Two\\B"}) Folder(folder);
    File("Two\\A\\a1.txt");
    File("Two\\B\\b1.txt");
    // Once the first item is done, one of the two folders has been listed and
    // the other not: a file appears in each.
    g_lateFolder = Make("Two");
    g_betweenItemsEveryMs = 0;
    g_runPump = [](std::size_t done, std::size_t total) {
        if (total > 0 && done == 1) {
            for (const char *sub : {"\\A\\late.txt", "\\B\\late.txt"}) {
                const std::string late = g_lateFolder + sub;
                MakeFile(late);
                StampItem(late, UtcOfLocal(2003, 3, 3, 3, 3, 4));
            }
        }
        return BetweenRunItems(done, total);
    };
    ShowAndSelect({"Two"});
    g_includeSubfolders = 1;
    ChangeTimestamps();
    g_runPump = BetweenRunItems;
    const int changedLate = !(Snapshot(true).at("two\\a\\late.txt").written ==
                              ToCount(UtcOfLocal(2003, 3, 3, 3, 3, 4))) +
                            !(Snapshot(true).at("two\\b\\late.txt").written ==
                              ToCount(UtcOfLocal(2003, 3, 3, 3, 3, 4)));
    ASSERT_EQ(changedLate, 1);
    // The late entry raised the total: never more done than there are.
    EXPECT_EQ(RunItemsDone(), 6u);
    EXPECT_EQ(RunItemsTotal(), 6u);
    RunUndo();
    for (const char *late : {"two\\a\\late.txt", "two\\b\\late.txt"})
        EXPECT_EQ(Snapshot(true).at(late).written, ToCount(UtcOfLocal(2003, 3, 3, 3, 3, 4))) << late;
}

TEST_F(Undo, ItemsGoneOrChangedSinceTheRunAreNamedAndLeftAlone)
{
    for (const char *name : {"gone.txt", "later.txt", "kept.txt"}) File(name);
    ShowAndSelect({"gone.txt", "later.txt", "kept.txt"});
    RunWithClicks(ChangeAttributesCommand, {kReadOnlyBox}, IDOK);
    ASSERT_TRUE(SetFileAttributesW(Sys("gone.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(DeleteFileW(Sys("gone.txt").c_str()));
    SetAttributes("later.txt", FILE_ATTRIBUTE_HIDDEN);

    const std::vector<SeenBox> seen = RunUndo();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Undo put back 1 item(s).\nNo longer there:\n   " + Make("gone.txt") +
                                "\nChanged since, left as they are:\n   " + Make("later.txt"));
    EXPECT_EQ(Attributes("later.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Attributes("kept.txt") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(Undo, AJournalThatCannotBeWrittenStopsTheRunBeforeAnythingChanges)
{
    File("a.txt");
    File("blocker");
    // The journal folder would lie inside a file: it can be neither made nor written.
    g_journalFolder = W(Make("blocker\\journals"));
    const std::map<std::string, Seen> before = Snapshot(true);
    ShowAndSelect({"a.txt"});
    for (int japanese : {0, 1}) {
        g_japaneseMode = japanese;
        ModalAnswerer answerer({IDYES, IDOK});
        SetTargetTime(2015, 6, 7, 8, 9, 10);
        TimestampChangeCommand(g_hMainWnd);
        ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
        EXPECT_NE(answerer.Seen()[1].text.find(U(g_journalFolder)), std::string::npos);
        EXPECT_EQ(answerer.Seen()[1].caption, japanese ? "\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC" : "Error");
    }
    EXPECT_EQ(Snapshot(true), before);
}

bool ReportsFat(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"FAT32", static_cast<int>(size));
    return true;
}

// Run under TZ=Europe/Berlin (ctest's change_commands_seasons): one target
// in summer and one in winter, so that one lies in the other season
// whatever the day the test runs; on NTFS and on a volume rebuilt through
// the simulated clock.
TEST_F(Undo, SeasonsTheTimesComeBackExactlyFromEitherSeasonOnEitherVolume)
{
    File("a.txt");
    Folder("Top");
    File("Top\\b.txt");
    ASSERT_TRUE(StampItem(Make("a.txt"), UtcOfLocal(2004, 1, 2, 3, 4, 6)));
    ASSERT_TRUE(StampItem(Make("Top\\b.txt"), UtcOfLocal(2004, 8, 2, 3, 4, 8)));
    ASSERT_TRUE(StampItem(Make("Top"), UtcOfLocal(2004, 8, 9, 3, 4, 10)));
    const std::map<std::string, Seen> before = Snapshot(true);
    CreateMainControls(g_hMainWnd);
    FillDateTimeLists();
    // Windows Vista and later, as under Wine: a rebuilt folder whose moves
    // renewed its times gets them again by handle.
    IntGuard kind(g_windowsKind);
    g_windowsKind = 6;
    for (bool fat : {false, true}) {
        SeamGuard seams;
        if (fat) {
            UseSimulatedClock();
            g_platform.volumeFileSystem = ReportsFat;
        }
        for (int month : {7, 1}) {
            SCOPED_TRACE((fat ? "FAT, month " : "NTFS, month ") + std::to_string(month));
            ShowAndSelect({"a.txt", "Top"});
            g_includeSubfolders = 1;
            // The command reads its target from the six lists, as the user left them.
            SYSTEMTIME target = {};
            target.wYear = 2009;
            target.wMonth = static_cast<WORD>(month);
            target.wDay = 15;
            target.wHour = 10;
            target.wMinute = 20;
            target.wSecond = 30;
            ShowTimeInLists(target);
            {
                ModalAnswerer answerer({IDYES, IDOK});
                TimestampChangeCommand(g_hMainWnd);
                ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
                EXPECT_EQ(answerer.Seen()[1].text, "Modification of timestamp succeeded.");
            }
            ASSERT_NE(Snapshot(true), before);
            const std::vector<SeenBox> seen = RunUndo();
            ASSERT_EQ(seen.size(), 2u);
            EXPECT_EQ(seen[1].text, "Undo put back 3 item(s).");
            EXPECT_EQ(Snapshot(true), before);
        }
    }
}

std::wstring WriteJournalFile(const std::wstring &folder, const std::string &name, const std::string &bytes)
{
    const std::wstring path = folder + L"\\" + W(name);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

constexpr char kJournalHead[] = "Retempo journal 2\tA\trun\t2026-12-08 10:00:00\t\n";
constexpr char kGoodEntry[] = "C:\\x\\a.txt\t1\t2\t3\t20\ta.txt\t1\t2\t3\t21\ta.txt\n";

TEST(Journal, EveryUtf16UnitOfANameReadsBackExactly)
{
    TempFolder folder;
    const std::wstring saved = g_journalFolder;
    g_journalFolder = W(folder.Path());
    // Surrogates without their partner (names on NTFS may hold them), and a
    // real U+FFFD beside them, which they must never be taken for.
    const std::wstring names[] = {std::wstring(L"a") + wchar_t(0xD800) + L"b",
                                  std::wstring(1, wchar_t(0xDC00)) + L"b", L"a\xFFFD" L"b",
                                  L"\xD83D\xDE00%25\t.txt"};
    ASSERT_TRUE(JournalBegin(JournalKind::Letters, false, nullptr));
    for (const std::wstring &name : names) {
        ItemState state;
        state.name = name;
        ASSERT_TRUE(JournalRecord(L"C:\\x\\" + name + L"\\" + name, state));
    }
    ASSERT_TRUE(JournalFlush());
    JournalEnd(RunOutcome::Completed);
    JournalFile journal;
    ASSERT_EQ(ReadJournal(JournalPaths().back(), &journal), JournalRead::Read);
    ASSERT_EQ(journal.entries.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(journal.entries[i].path, L"C:\\x\\" + names[i] + L"\\" + names[i]) << i;
        EXPECT_EQ(journal.entries[i].before.name, names[i]) << i;
    }
    g_journalFolder = saved;
}

TEST(Journal, ARecordNoJournalWritesRefusesTheWholeJournal)
{
    TempFolder folder;
    const std::wstring journals = W(folder.Path());
    const char *damaged[] = {
        "C:\\x\\a%00b\t1\t2\t3\t20\ta\t1\t2\t3\t20\ta\n",       // a NUL would cut the path short
        "x\\relative.txt\t1\t2\t3\t20\ta\t1\t2\t3\t20\ta\n",     // not a full path
        "\\\\?\\C:\\x\\a.txt\t1\t2\t3\t20\ta\t1\t2\t3\t20\ta\n", // not the normal form
        "C:\\x\\a%2.txt\t1\t2\t3\t20\ta\t1\t2\t3\t20\ta\n",      // a broken escape
        "C:\\x\\a%uD8.txt\t1\t2\t3\t20\ta\t1\t2\t3\t20\ta\n",    // a broken unit escape
        "C:\\x\\a.txt\t1\tlate\t3\t20\ta\t1\t2\t3\t20\ta\n",     // no number
        "settled\t7\n",                                          // no such entry
        "rebuild\tC:\\x\t!!!\t10\t1\t2\t3\t0\t0\t0\n",           // a temporary folder that is no full path
        "something else\n",
    };
    for (const char *line : damaged) {
        JournalFile journal;
        const std::wstring path =
            WriteJournalFile(journals, "1.journal", std::string(kJournalHead) + kGoodEntry + line);
        EXPECT_EQ(ReadJournal(path, &journal), JournalRead::Damaged) << line;
    }
    JournalFile journal;
    EXPECT_EQ(ReadJournal(WriteJournalFile(journals, "2.journal", "not a journal\n"), &journal),
              JournalRead::Unreadable);
    // The same entry, whole: read.
    EXPECT_EQ(ReadJournal(WriteJournalFile(journals, "3.journal", std::string(kJournalHead) + kGoodEntry),
                          &journal),
              JournalRead::Read);
    EXPECT_EQ(journal.entries.size(), 1u);
}

TEST_F(Undo, ANewestJournalThatCannotBeReadIsNamedAndNothingOlderIsUndone)
{
    File("a.txt");
    ShowAndSelect({"a.txt"});
    RunWithClicks(ChangeAttributesCommand, {kReadOnlyBox}, IDOK);
    ASSERT_EQ(Attributes("a.txt") & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    const std::wstring newest = WriteJournalFile(g_journalFolder, "FFFFFFFFFFFFFFFF.journal", "damaged\n");
    std::vector<SeenBox> seen = RunUndo();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "The journal of the last change cannot be read:\n   " + U(newest) +
                                "\nNothing was put back. Delete that file to undo older changes.");
    EXPECT_EQ(Attributes("a.txt") & FILE_ATTRIBUTE_READONLY, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(DeleteFileW(newest.c_str()));
    seen = RunUndo();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(Attributes("a.txt") & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(Journal, ReadsBackOddNamesAndKeepsTheTenNewest)
{
    TempFolder folder;
    const std::wstring saved = g_journalFolder;
    g_journalFolder = W(folder.Path());
    const std::wstring odd = L"C:\\x\\tab\there%20\x65E5\xD83D\xDE00 name.";
    for (int run = 0; run < 12; ++run) {
        ASSERT_TRUE(JournalBegin(JournalKind::Letters, run == 11, nullptr));
        ItemState state;
        state.written = {static_cast<DWORD>(run), 0x01D00000};
        state.attributes = FILE_ATTRIBUTE_HIDDEN;
        state.name = L"tab\there%20\x65E5\xD83D\xDE00 name.";
        ASSERT_TRUE(JournalRecord(odd, state));
        ASSERT_TRUE(JournalFlush());
        JournalEnd(RunOutcome::Completed);
    }
    int files = 0;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(W(folder.Path() + "\\*.journal").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do ++files;
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(files, 10);
    UndoChoice choice = ChooseUndo();
    ASSERT_EQ(choice.status, UndoChoice::Offered);
    const JournalFile &latest = choice.journal;
    EXPECT_TRUE(latest.isUndo);
    ASSERT_EQ(latest.entries.size(), 1u);
    EXPECT_EQ(latest.entries[0].path, odd);
    EXPECT_EQ(latest.entries[0].before.name, L"tab\there%20\x65E5\xD83D\xDE00 name.");
    EXPECT_EQ(latest.entries[0].before.written.dwLowDateTime, 11u);
    EXPECT_EQ(latest.entries[0].before.attributes, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    // Once undone, the one before it is the latest.
    ASSERT_TRUE(UndoMarksBegin(latest.path));
    UndoMarkSettled(0);
    UndoMarksEnd();
    choice = ChooseUndo();
    ASSERT_EQ(choice.status, UndoChoice::Offered);
    const JournalFile &previous = choice.journal;
    EXPECT_FALSE(previous.isUndo);
    EXPECT_EQ(previous.entries[0].before.written.dwLowDateTime, 10u);
    g_journalFolder = saved;
}

}  // namespace
