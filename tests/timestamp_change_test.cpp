// klokan99's Change Timestamp through its folder list, in windows of the
// test's own, on real folders in the test's temporary folder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "browser_windows.h"
#include "date_time_selector.h"
#include "labels_layout.h"
#include "folder_list.h"
#include "language.h"
#include "list_refresh.h"
#include "main_window.h"
#include "modal_answerer.h"
#include "platform_seams.h"
#include "target_time.h"
#include "test_support.h"
#include "timestamp_command.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {


TEST(ConfirmationText, OddSecondsTellWhatFatKeeps)
{
    IntGuard language(g_japaneseMode);
    g_japaneseMode = 0;
    char text[512];
    BuildConfirmationText({2010, 5, 6, 12, 34, 31}, text, sizeof text);
    EXPECT_STREQ(text, "Do you execute the timestamp change?\n  To : 05/06/2010  12:34:31\n"
                       "For FAT, sec 31 is rounded down to 30.");
    BuildConfirmationText({2010, 5, 6, 12, 34, 30}, text, sizeof text);
    EXPECT_STREQ(text, "Do you execute the timestamp change?\n  To : 05/06/2010  12:34:30");
    g_japaneseMode = 1;
    BuildConfirmationText({2010, 5, 6, 12, 34, 1}, text, sizeof text);
    EXPECT_STREQ(text, "タイムスタンプ変更を実行しますか？\n  To : 2010/05/06  12:34:01\n"
                       "FATでは、秒 1 は 0 に丸められます.");
    BuildConfirmationText({2010, 5, 6, 12, 34, 31}, text, 40);
    EXPECT_LT(std::strlen(text), 40u) << "a short buffer is never overrun";
}

class TimestampChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(windows.Ready());
        g_japaneseMode = 0;
        g_includeSubfolders = 0;
        std::memset(g_programPath, 0, sizeof g_programPath);
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

    IntGuard language{g_japaneseMode};
    IntGuard include{g_includeSubfolders};
    IntGuard status{g_runStatus};
    TempFolder temp;
    BrowserWindows windows{false};
    std::string savedProgramPath = g_programPath;
    ~TimestampChange() override { std::strcpy(g_programPath, savedProgramPath.c_str()); }
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

bool CountingFileSystem(const char *root, char *name, DWORD size)
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

TEST_F(TimestampChange, AFileThatCannotBeWrittenIsReportedAndTheListKeepsItsTexts)
{
    ASSERT_TRUE(MakeFile(Make("locked.txt")));
    ShowFolder(temp.Path());
    const std::string before = RowText(0, 3);
    SelectRows({0});
    HANDLE held = CreateFileA(Make("locked.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ModalAnswerer answerer({IDYES, IDOK});
    TimestampChangeCommand(windows.Main());
    CloseHandle(held);
    ASSERT_EQ(answerer.Seen().size(), 2u) << answerer.Describe();
    EXPECT_EQ(answerer.Seen()[1].text, "Modification of timestamp failed.");
    EXPECT_EQ(RowText(0, 3), before);
    EXPECT_FALSE(HasTarget(Make("locked.txt")));
}

TEST_F(TimestampChange, TheProgramsOwnFileAloneIsNothingToChange)
{
    ASSERT_TRUE(MakeFile(Make("KLOKAN99.EXE")));
    ShowFolder(temp.Path());
    SelectRows({0});
    std::strcpy(g_programPath, Make("klokan99.exe").c_str());
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
