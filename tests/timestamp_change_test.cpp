// klokan99's Change Timestamp through its folder list, in windows of the
// test's own, on real folders in the test's temporary folder.
#include <gtest/gtest.h>

#include <initializer_list>

#include <cstring>
#include <string>

#include "browser_windows.h"
#include "date_time_selector.h"
#include "fixture_trees.h"
#include "labels_layout.h"
#include "folder_list.h"
#include "language.h"
#include "list_refresh.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "platform_seams.h"
#include "target_time.h"
#include "test_support.h"
#include "run_feedback.h"
#include "temp_tree.h"
#include "timestamp_command.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {


TEST(ConfirmationText, OddSecondsTellWhatFatKeeps)
{
    IntGuard language(g_japaneseMode);
    g_japaneseMode = 0;
    EXPECT_EQ(U(BuildConfirmationText({2010, 5, 6, 12, 34, 31})),
              "Do you execute the timestamp change?\n  To : 05/06/2010  12:34:31\n"
              "For FAT, sec 31 is rounded down to 30.");
    EXPECT_EQ(U(BuildConfirmationText({2010, 5, 6, 12, 34, 30})),
              "Do you execute the timestamp change?\n  To : 05/06/2010  12:34:30");
    g_japaneseMode = 1;
    EXPECT_EQ(U(BuildConfirmationText({2010, 5, 6, 12, 34, 1})),
              "タイムスタンプ変更を実行しますか？\n  To : 2010/05/06  12:34:01\n"
              "FATでは、秒 1 は 0 に丸められます.");
}

class TimestampChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(windows.Ready());
        g_japaneseMode = 0;
        g_includeSubfolders = 0;
        g_programPath.clear();
        // The command reads its target from the six lists, as the user left them.
        CreateMainControls(windows.Main());
        FillDateTimeLists();
        SYSTEMTIME target = {};
        target.wYear = 2010;
        target.wMonth = 5;
        target.wDay = 6;
        target.wHour = 12;
        target.wMinute = 34;
        target.wSecond = 30;
        ShowTimeInLists(target);
    }
    std::string Make(const std::string &name) { return temp.Child(name); }
    FILETIME Target() const { return UtcOfLocal(2010, 5, 6, 12, 34, 30); }
    bool HasTarget(const std::string &path)
    {
        ItemTimes times;
        return ReadItem(path, &times) && SameTime(times.written, Target()) &&
               SameTime(times.created, Target()) && SameTime(times.accessed, Target());
    }

    // Changes the fixture folder of that name with everything in it; gives
    // the closing report, whose first line says the run failed and which
    // names each of named (text that follows a backslash in its line).
    std::string ChangeFixtureFolder(const std::string &folder, std::initializer_list<std::string> named)
    {
        ShowFolder(FixtureTree(""));
        SelectRows({FindRow(folder)});
        g_includeSubfolders = 1;
        ModalAnswerer answerer({IDYES, IDOK});
        TimestampChangeCommand(windows.Main());
        if (answerer.Seen().size() != 2u) {
            ADD_FAILURE() << answerer.Describe();
            return std::string();
        }
        const std::string report = answerer.Seen()[1].text;
        EXPECT_EQ(FirstLine(report), "Modification of timestamp failed.");
        for (const std::string &name : named)
            EXPECT_NE(report.find("\\" + name), std::string::npos) << name << " in " << report;
        return report;
    }

    IntGuard language{g_japaneseMode};
    IntGuard include{g_includeSubfolders};
    IntGuard status{g_runStatus};
    TempFolder temp;
    BrowserWindows windows{false};
    std::wstring savedProgramPath = g_programPath;
    ~TimestampChange() override { g_programPath = savedProgramPath; }
};

TEST_F(TimestampChange, EmptyListAndNoSelectionAreRefusedBeforeTheQuestion)
{
    ShowFolder(temp.Path());
    {
        ModalAnswerer answerer({IDYES});
        TimestampChangeCommand(windows.Main());
        ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
        EXPECT_EQ(answerer.Seen()[0].text, "No file in the list.");
    }
    ASSERT_TRUE(MakeFile(Make("a.txt")));
    ShowFolder(temp.Path());
    SelectRows({});
    ModalAnswerer answerer({IDYES});
    TimestampChangeCommand(windows.Main());
    ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[0].text, "No file selected.");
    EXPECT_EQ(answerer.Seen()[0].caption, "Error");
}

TEST_F(TimestampChange, NoChangesEverythingYesChangesTheTreeAndRefreshesEveryRow)
{
    ASSERT_TRUE(CreateDirectoryA(Make("Photos").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Make("Photos\\2010").c_str(), nullptr));
    ASSERT_TRUE(MakeFile(Make("Photos\\2010\\a.jpg")));
    ASSERT_TRUE(MakeFile(Make("Photos\\.settings")));
    ASSERT_TRUE(MakeFile(Make("other.txt")));
    ShowFolder(temp.Path());
    ASSERT_EQ(RowCount(), 2);
    SelectRows({0});
    g_includeSubfolders = 1;

    {
        ModalAnswerer answerer({IDNO});
        TimestampChangeCommand(windows.Main());
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].caption, "Confirmation");
        EXPECT_FALSE(HasTarget(Make("Photos")));
    }

    ModalAnswerer answerer({IDYES, IDOK});
    TimestampChangeCommand(windows.Main());
    ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[1].text, "Modification of timestamp succeeded.");
    EXPECT_EQ(answerer.Seen()[1].caption, "Information");
    EXPECT_TRUE(HasTarget(Make("Photos")));
    EXPECT_TRUE(HasTarget(Make("Photos\\2010")));
    EXPECT_TRUE(HasTarget(Make("Photos\\2010\\a.jpg")));
    EXPECT_FALSE(HasTarget(Make("Photos\\.settings"))) << "dot entries inside a walk are left alone";
    EXPECT_FALSE(HasTarget(Make("other.txt"))) << "an unselected row is not changed";
    EXPECT_EQ(RowText(0, 3), "05/06/2010  12:34:30");

    // The unselected row is re-read too: a time set behind the list's back shows up.
    ASSERT_TRUE(StampItem(Make("other.txt"), UtcOfLocal(2001, 2, 3, 4, 5, 6)));
    ModalAnswerer again({IDYES, IDOK});
    TimestampChangeCommand(windows.Main());
    EXPECT_EQ(RowText(1, 3), "02/03/2001  04:05:06");
    EXPECT_EQ(CurrentDirectory(), temp.Path());
}

int g_fileSystemQueries = 0;

bool CountingFileSystem(const wchar_t *root, wchar_t *name, DWORD size)
{
    ++g_fileSystemQueries;
    return g_realPlatform.volumeFileSystem(root, name, size);
}

TEST_F(TimestampChange, TheDriveIsAskedOncePerRunNotForEveryEntryBelowTheFirstItem)
{
    ASSERT_TRUE(CreateDirectoryA(Make("Photos").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Make("Photos\\2010").c_str(), nullptr));
    for (const char *name : {"Photos\\a.jpg", "Photos\\b.jpg", "Photos\\2010\\c.jpg", "z.txt"})
        ASSERT_TRUE(MakeFile(Make(name))) << name;
    ShowFolder(temp.Path());
    ASSERT_EQ(RowCount(), 2);
    SelectRows({0, 1});
    g_includeSubfolders = 1;
    SeamGuard seams;
    g_platform.volumeFileSystem = CountingFileSystem;
    // What the refresh after a run asks for its rows, measured alone.
    g_refreshMode = kRefreshModified;
    g_fileSystemQueries = 0;
    RefreshListColumns();
    const int perRefresh = g_fileSystemQueries;

    for (int run = 1; run <= 2; ++run) {
        g_fileSystemQueries = 0;
        ModalAnswerer answerer({IDYES, IDOK});
        TimestampChangeCommand(windows.Main());
        ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
        EXPECT_EQ(answerer.Seen()[1].text, "Modification of timestamp succeeded.");
        // Six entries changed; each run asks about the drive once again.
        EXPECT_EQ(g_fileSystemQueries, 1 + perRefresh) << "run " << run;
    }
    for (const char *name : {"Photos", "Photos\\2010", "Photos\\2010\\c.jpg", "z.txt"})
        EXPECT_TRUE(HasTarget(Make(name))) << name;
}

TEST_F(TimestampChange, LockedFileIsReportedAndTheListKeepsItsTexts)
{
    // locked/closed.txt exists (the search lists it) but may not be opened at all.
    ShowFolder(FixtureTree("locked"));
    const int row = FindRow("closed.txt");
    ASSERT_GE(row, 0);
    const std::string before = RowText(row, 3);
    SelectRows({row});
    ModalAnswerer answerer({IDYES, IDOK});
    TimestampChangeCommand(windows.Main());
    ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
    EXPECT_EQ(FirstLine(answerer.Seen()[1].text), "Modification of timestamp failed.");
    EXPECT_NE(answerer.Seen()[1].text.find("\\closed.txt  (access denied)"), std::string::npos)
        << answerer.Seen()[1].text;
    EXPECT_EQ(RowText(row, 3), before);
}

TEST_F(TimestampChange, LockedFolderIsAFailureNotASuccess)
{
    ChangeFixtureFolder("locked", {"closed.txt  (access denied)", "sealed  (cannot be listed"});
    EXPECT_TRUE(HasTarget(FixtureTree("locked/open.txt")));
}

// Names another system wrote (tests/fixtures/make_trees.sh), through the
// whole command and its Undo: every entry is changed or named, and Undo
// puts back all it changed, those reached by short names too.
TEST_F(TimestampChange, NamesMadeElsewhereAreChangedOrNamedAndAllComeBack)
{
    const std::string odd = FixtureTree("odd-undo");
    const TreeListing before = ListTree(odd);
    ChangeFixtureFolder("odd-undo", {"odd-undo\\tab\t.txt  (a name the system cannot open)",
                                     "odd-undo\\back\\slash.txt  (a name the system cannot open)"});
    const ULONGLONG target = LocalToCount(2010, 5, 6, 12, 34, 30);
    for (const auto &[key, entry] : ListTree(odd)) {
        const bool beyond = key == "tab\t.txt" || key == "back%5Cslash.txt";
        EXPECT_EQ(entry.written == target, !beyond) << key;
    }
    ModalAnswerer answerer({IDYES, IDOK});
    UndoLastChange(windows.Main());
    EXPECT_EQ(DescribeDifference(before, ListTree(odd)), "");
}

// Links lead out of what the user chose: a walk passes them by, and a link
// chosen itself fails, with the items they lead to untouched either way.
TEST_F(TimestampChange, NothingOutsideTheChosenItemsChangesThroughALink)
{
    const FILETIME old = UtcOfLocal(2001, 2, 3, 4, 5, 6);
    const std::vector<std::string> outside = {FixtureTree("links/outside/victim.txt"),
                                              FixtureTree("links/outside/dir"),
                                              FixtureTree("links/outside/dir/deep.txt")};
    for (const std::string &item : outside) ASSERT_TRUE(StampItem(item, old)) << item;
    ShowFolder(FixtureTree("links"));
    g_includeSubfolders = 1;
    struct Case {
        std::vector<std::string> rows;
        const char *result;
    };
    const Case cases[] = {
        {{"chosen"}, "Modification of timestamp succeeded."},
        {{"file-link.txt"}, "Modification of timestamp failed."},
        {{"dir-link"}, "Modification of timestamp failed."},
    };
    for (const Case &c : cases) {
        std::vector<int> rows;
        for (const std::string &name : c.rows) rows.push_back(FindRow(name));
        SelectRows(rows);
        ModalAnswerer answerer({IDYES, IDOK});
        TimestampChangeCommand(windows.Main());
        ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
        const std::string &report = answerer.Seen()[1].text;
        EXPECT_EQ(FirstLine(report), c.result) << c.rows[0];
        // A link chosen itself is named; one met inside the walk is not.
        const bool named = report.find("\\" + c.rows[0] + "  (a link") != std::string::npos;
        EXPECT_EQ(named, c.rows[0] != "chosen") << report;
    }
    for (const char *inside : {"chosen", "chosen/plain.txt", "chosen/sub", "chosen/sub/inner.txt"})
        EXPECT_TRUE(HasTarget(FixtureTree(std::string("links/") + inside))) << inside;
    for (const std::string &item : outside) {
        ItemTimes times;
        ASSERT_TRUE(ReadItem(item, &times));
        EXPECT_TRUE(SameTime(times.written, old)) << item;
    }
}

bool ReportsFat(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"FAT32", static_cast<int>(size));
    return true;
}

TEST_F(TimestampChange, AFolderAtTheFirstSecondOf1980IsRefusedBeforeAnythingIsTouched)
{
    // Windows 98 on FAT: folders are rebuilt, and no rebuilt folder can be
    // made one second before 1980-01-01 00:00:00.
    IntGuard kind(g_windowsKind);
    g_windowsKind = 1;
    SeamGuard seams;
    g_platform.volumeFileSystem = ReportsFat;
    ASSERT_TRUE(MakeFile(Make("a.txt")));
    ASSERT_TRUE(CreateDirectoryA(Make("Photos").c_str(), nullptr));
    ASSERT_TRUE(MakeFile(Make("Photos\\p.jpg")));
    const FILETIME old = UtcOfLocal(2001, 2, 3, 4, 5, 6);
    for (const char *name : {"a.txt", "Photos\\p.jpg", "Photos"}) ASSERT_TRUE(StampItem(Make(name), old));
    SYSTEMTIME first1980 = {};
    first1980.wYear = 1980;
    first1980.wMonth = 1;
    first1980.wDay = 1;
    ShowFolder(temp.Path());
    ShowTimeInLists(first1980);
    SelectRows({FindRow("a.txt"), FindRow("Photos")});
    g_includeSubfolders = 1;
    ModalAnswerer answerer({IDYES, IDOK});
    TimestampChangeCommand(windows.Main());
    ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[1].text,
              "Unable to change the timestamp to 1980/1/1 00:00:00 for the directory.");
    for (const char *name : {"a.txt", "Photos\\p.jpg", "Photos"}) {
        ItemTimes times;
        ASSERT_TRUE(ReadItem(Make(name), &times));
        EXPECT_TRUE(SameTime(times.written, old)) << name;
    }
}

TEST_F(TimestampChange, TheProgramsOwnFileAloneIsNothingToChange)
{
    ASSERT_TRUE(MakeFile(Make("KLOKAN99.EXE")));
    ShowFolder(temp.Path());
    SelectRows({0});
    g_programPath = W(Make("klokan99.exe"));
    ModalAnswerer answerer({IDYES, IDOK});
    TimestampChangeCommand(windows.Main());
    ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[1].text, "No file assigned.");
    EXPECT_FALSE(HasTarget(Make("KLOKAN99.EXE")));
}

TEST_F(TimestampChange, ANetworkDriveStopsTheRunWithoutAResult)
{
    // N: is the harness's network drive.
    const std::string folder = "N:\\retempo-timestamp-test";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\a.txt";
    if (!MakeFile(file)) GTEST_SKIP() << "the network drive of the harness is not writable";
    ShowFolder(folder);
    SelectRows({0});
    ModalAnswerer answerer({IDYES, IDOK});
    TimestampChangeCommand(windows.Main());
    ShowFolder(temp.Path());
    const bool changed = HasTarget(file);
    DeleteFileA(file.c_str());
    RemoveDirectoryA(folder.c_str());
    ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[1].text,
              "Unable to change timestamp(s) excecpt file(s) in removable-disk, hard-disk, or "
              "ram-disk.");
    EXPECT_FALSE(changed);
}

}  // namespace
