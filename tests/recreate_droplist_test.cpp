// The rebuilding writer and the subtree change of klokan98: refusals are
// recorded as the run's failure reason, nothing is shown, the run goes on.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "item_access.h"
#include "language.h"
#include "change_lock.h"
#include "path_text.h"
#include "recreate_writer.h"
#include "simulated_clock.h"
#include "target_time.h"
#include "temp_tree.h"
#include "test_support.h"
#include "timestamp_items.h"
#include "change_run.h"
#include "timestamp_writer.h"
#include "volume_checks.h"



namespace {

class DropListRebuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(savedTarget_, g_targetTime, sizeof savedTarget_);
        UseSimulatedClock();
        g_runStatus = 1;
        g_failureReason = kReasonNone;
        g_ntfsVolume = 0;
        g_windowsKind = 1;
        SetTargetTime(2010, 5, 6, 12, 34, 30);
    }
    void TearDown() override { std::memcpy(g_targetTime, savedTarget_, sizeof savedTarget_); }

    TempFolder root_;
    TimeFields savedTarget_;
    SeamGuard seams_;
    IntGuard status_{g_runStatus}, reason_{g_failureReason}, ntfs_{g_ntfsVolume},
        kind_{g_windowsKind};
    ChangeLockHold lock_;
};

TEST_F(DropListRebuildTest, RefusalsAreRecordedAndTheRunGoesOn)
{
    MakeFolder(root_.Child("A"));
    MakeFolder(root_.Child("A\\B"));
    MakeFolder(root_.Child("A\\C"));
    // Every folder of the walk is refused under the 1980 limit; none stops it.
    SetTargetTime(1980, 1, 1, 0, 0, 0);
    ChangeSubtreeTimestamps(W(root_.Child("A")));
    EXPECT_EQ(g_failureReason, kReasonLimit1980);
    EXPECT_EQ(g_runStatus, 1);

    WriteTimestampByRecreate(W(root_.Child("Gone")));
    EXPECT_EQ(g_failureReason, kReasonMissingItem);
    EXPECT_EQ(g_runStatus, 1);
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
}

TEST_F(DropListRebuildTest, EveryFolderWhoseEntriesStayedBehindIsNamed)
{
    g_leftBehind.clear();
    g_simulatedClock.failCreate = true;
    // The create fails and a file then takes the folder's name: nothing can go back.
    g_simulatedClock.duringCreate = [](const char *path) {
        CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    };
    for (const char *name : {"A", "B"}) {
        const std::string folder = root_.Child(name);
        MakeFolder(folder);
        MakeFileWith(folder + "\\x.txt", name);
        WriteTimestampByRecreate(W(folder));
    }
    EXPECT_EQ(g_failureReason, kReasonLeftBehind);
    EXPECT_GT(g_runStatus, 1);
    ASSERT_EQ(g_leftBehind.size(), 2u);
    EXPECT_EQ(U(g_leftBehind[0].folder), root_.Child("A"));
    EXPECT_EQ(U(g_leftBehind[1].folder), root_.Child("B"));
    EXPECT_EQ(ReadBytes(U(g_leftBehind[0].temporary) + "\\x.txt"), "A");
    EXPECT_EQ(ReadBytes(U(g_leftBehind[1].temporary) + "\\x.txt"), "B");
    // A later refusal does not hide where the entries are.
    WriteTimestampByRecreate(W(root_.Child("Gone")));
    EXPECT_EQ(g_failureReason, kReasonLeftBehind);
    g_leftBehind.clear();
}

TEST_F(DropListRebuildTest, TheWalkChangesEveryEntryOnceButNotTheProgram)
{
    // Windows Vista and later on FAT: a folder whose contents came home with
    // new times of their making is written again by handle.
    g_windowsKind = 6;
    std::string top = root_.Child("Top");
    MakeFolder(top);
    MakeFolder(top + "\\sub");
    MakeFileWith(top + "\\sub\\a.txt", "a");
    MakeFileWith(top + "\\Klokan98.exe", "MZ");
    g_programPath = W((top + "\\KLOKAN98.EXE"));
    ItemTimes before = {};
    ASSERT_TRUE(ReadItem(top + "\\Klokan98.exe", &before));
    ChangeSubtreeTimestamps(W(top));
    EXPECT_EQ(g_runStatus, 1);
    EXPECT_EQ(g_failureReason, kReasonNone);
    ASSERT_EQ(g_simulatedClock.created.size(), 1u);
    EXPECT_EQ(g_simulatedClock.created[0], top + "\\sub");
    ItemTimes file = {}, program = {};
    ASSERT_TRUE(ReadItem(top + "\\sub\\a.txt", &file));
    EXPECT_EQ(ToCount(file.written), LocalToCount(2010, 5, 6, 12, 34, 30));
    ASSERT_TRUE(ReadItem(top + "\\Klokan98.exe", &program));
    EXPECT_TRUE(SameTime(program.written, before.written));
    g_programPath.clear();
}

}  // namespace
