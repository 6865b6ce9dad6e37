// The rebuilding writer of klokan99 (message boxes, run stopped on refusal),
// on real folders, with the simulated clock standing in for the system's.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "item_access.h"
#include "journal.h"
#include "run_progress.h"
#include "undo.h"
#include "language.h"
#include "messages.h"
#include "modal_answerer.h"
#include "change_lock.h"
#include "path_text.h"
#include "platform_seams.h"
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

// Taken before the first test: the host clock must move only as time passes.
struct HostClockMark {
    FILETIME system;
    LARGE_INTEGER counter, frequency;
    HostClockMark()
    {
        GetSystemTimeAsFileTime(&system);
        QueryPerformanceCounter(&counter);
        QueryPerformanceFrequency(&frequency);
    }
} g_hostClockAtStart;

constexpr ULONGLONG kOneSecond = 10000000ULL;

ULONGLONG CreatedOf(const std::string &path)
{
    ItemTimes times = {};
    EXPECT_TRUE(ReadItem(path, &times)) << path;
    return ToCount(times.created);
}

class RebuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(savedTarget_, g_targetTime, sizeof savedTarget_);
        UseSimulatedClock();
        g_runStatus = 1;
        ForgetCheckedDrive();  // a new run checks its drive again
        g_ntfsVolume = 0;
        g_windowsKind = 6;
        g_japaneseMode = 0;
        SetTargetTime(2010, 5, 6, 12, 34, 31);
        old_ = FromCount(LocalToCount(2001, 2, 3, 4, 5, 6));
    }
    void TearDown() override { std::memcpy(g_targetTime, savedTarget_, sizeof savedTarget_); }

    // Photos: files with their own bytes and old times, a dot file, a
    // subfolder with a subfolder; Photos itself read-only and hidden.
    std::string MakePhotos()
    {
        std::string photos = root_.Child("Photos");
        MakeFolder(photos);
        MakeFileWith(photos + "\\a.jpg", std::string(3000, 'a'));
        MakeFileWith(photos + "\\b.txt", "hello");
        MakeFileWith(photos + "\\.hidden", "dot");
        MakeFolder(photos + "\\sub");
        MakeFileWith(photos + "\\sub\\c.txt", "ccc");
        MakeFolder(photos + "\\sub\\deeper");
        MakeFileWith(photos + "\\sub\\deeper\\d.bin", std::string("\0\1\2", 3));
        for (const char *name : {"a.jpg", "b.txt", ".hidden", "sub\\c.txt", "sub\\deeper\\d.bin",
                                 "sub\\deeper", "sub"})
            EXPECT_TRUE(StampItem(photos + "\\" + name, old_)) << name;
        SetFileAttributesA((photos + "\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        EXPECT_TRUE(StampItem(photos, old_));
        SetFileAttributesA(photos.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        return photos;
    }

    // The rebuilt folder was created at the creation moment (target 12:34:31
    // rounded to :30, less one second), give or take the create's own time.
    static void ExpectAtMoment(ULONGLONG created, const std::string &path)
    {
        const ULONGLONG moment = LocalToCount(2010, 5, 6, 12, 34, 29);
        EXPECT_GE(created, moment) << path;
        EXPECT_LT(created, moment + kOneSecond) << path;
    }
    // Wine on this file system derives a folder's creation time from its
    // last-write time, which the moves into the new folder renew; so the time
    // a folder with contents got is read right after its creation.
    void RecordCreationTimes()
    {
        g_simulatedClock.duringCreate = [this](const char *path) {
            createdAt_[path] = CreatedOf(path);
        };
    }

    std::map<std::string, ULONGLONG> createdAt_;

    TempFolder root_;
    FILETIME old_;
    TimeFields savedTarget_;
    SeamGuard seams_;
    IntGuard status_{g_runStatus}, ntfs_{g_ntfsVolume}, kind_{g_windowsKind},
        japanese_{g_japaneseMode};
    // Folders are rebuilt only while the change lock is held, as in a run.
    ChangeLockHold lock_;
};

TEST_F(RebuildTest, AFolderIsRebuiltWithItsTimeAttributesAndWholeContents)
{
    std::string photos = MakePhotos();
    TreeListing before = ListTree(photos);
    const DWORD attributes = GetFileAttributesA(photos.c_str());
    const TreeListing parentBefore = ListTree(root_.Path());
    RecordCreationTimes();

    WriteTimestampByRecreate(W(photos));

    EXPECT_EQ(g_runStatus, 1);
    ExpectAtMoment(createdAt_[photos], photos);
    EXPECT_EQ(GetFileAttributesA(photos.c_str()), attributes);
    EXPECT_EQ(DescribeDifference(before, ListTree(photos)), "");
    // No temporary folder stays beside it.
    EXPECT_EQ(ListTree(root_.Path()).size(), parentBefore.size());
    // The clock was set exactly twice: to the moment and back.
    ASSERT_EQ(g_simulatedClock.setValues.size(), 2u);
    EXPECT_EQ(g_simulatedClock.setValues[0].wSecond, 29);
    EXPECT_EQ(g_simulatedClock.setValues[0].wMinute, 34);
    EXPECT_LT(g_simulatedClock.offset < 0 ? -g_simulatedClock.offset : g_simulatedClock.offset,
              static_cast<LONGLONG>(kOneSecond / 2));
}

TEST_F(RebuildTest, AcrossAChangeOfSeasonTheClockIsSetAgainAndComesBackRight)
{
    // A machine in winter time, a moment in May: each setting of the clock
    // first lands an hour off.
    g_simulatedClock.modelSeasons = true;
    g_simulatedClock.summer = false;
    std::string photos = MakePhotos();
    const TreeListing before = ListTree(photos);
    RecordCreationTimes();

    WriteTimestampByRecreate(W(photos));

    EXPECT_EQ(g_runStatus, 1);
    ExpectAtMoment(createdAt_[photos], photos);
    EXPECT_EQ(DescribeDifference(before, ListTree(photos)), "");
    EXPECT_GE(g_simulatedClock.setValues.size(), 3u);
    EXPECT_LT(g_simulatedClock.offset < 0 ? -g_simulatedClock.offset : g_simulatedClock.offset,
              static_cast<LONGLONG>(kOneSecond / 2))
        << "the clock was not put back to the time it would have shown";
}

TEST_F(RebuildTest, AnEmptyFolderCarriesTheMomentForEveryTime)
{
    std::string empty = root_.Child("Empty");
    MakeFolder(empty);
    WriteTimestampByRecreate(W(empty));
    EXPECT_EQ(g_runStatus, 1);
    // Read back from the file system: nothing moved in to renew the times.
    ExpectAtMoment(CreatedOf(empty), empty);
    ItemTimes times = {};
    ASSERT_TRUE(ReadItem(empty, &times));
    EXPECT_LT(ToCount(times.written) - CreatedOf(empty), kOneSecond);
    EXPECT_EQ(ListTree(root_.Path()).size(), 1u);
}

TEST_F(RebuildTest, TheTemporaryNameSkipsTakenFoldersAndFiles)
{
    std::string photos = MakePhotos();
    MakeFolder(root_.Child("!!!"));
    MakeFileWith(root_.Child("!!!!"), "taken");
    MakeFileWith(root_.Child("!!!\\inside.txt"), "kept");
    TreeListing before = ListTree(root_.Path());
    bool temporaryInUse = false;
    g_simulatedClock.duringCreate = [&](const char *) {
        temporaryInUse = GetFileAttributesA(root_.Child("!!!!!").c_str()) & FILE_ATTRIBUTE_DIRECTORY;
    };

    WriteTimestampByRecreate(W(photos));

    EXPECT_EQ(g_runStatus, 1);
    EXPECT_TRUE(temporaryInUse);
    TreeListing after = ListTree(root_.Path());
    // Photos itself has new times; everything else is as it was.
    before.erase("Photos");
    after.erase("Photos");
    EXPECT_EQ(DescribeDifference(before, after), "");
}

TEST_F(RebuildTest, Refusals)
{
    std::string photos = MakePhotos();
    MakeFileWith(root_.Child("file.txt"), "f");
    TreeListing before = ListTree(root_.Path());
    {
        // The first two seconds of 1980 cannot be given to a folder...
        SetTargetTime(1980, 1, 1, 0, 0, 1);
        ModalAnswerer answerer({IDOK});
        WriteTimestampByRecreate(W(photos));
        EXPECT_EQ(g_runStatus, 0);
        ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
        EXPECT_EQ(answerer.Seen()[0].text, U(MessageText(Msg::Limit1980)));
        EXPECT_EQ(answerer.Seen()[0].caption, "Warning");
    }
    EXPECT_EQ(DescribeDifference(before, ListTree(root_.Path())), "");
    {
        // ... but to a file, rounded down to 00:00:00.
        g_runStatus = 1;
        WriteTimestampByRecreate(W(root_.Child("file.txt")));
        EXPECT_EQ(g_runStatus, 1);
        ItemTimes times = {};
        ASSERT_TRUE(ReadItem(root_.Child("file.txt"), &times));
        EXPECT_EQ(ToCount(times.written), LocalToCount(1980, 1, 1, 0, 0, 0));
        EXPECT_EQ(ToCount(times.created), LocalToCount(1980, 1, 1, 0, 0, 0));
    }
    {
        g_runStatus = 1;
        ModalAnswerer answerer({IDOK});
        std::string missing = root_.Child("Gone");
        WriteTimestampByRecreate(W(missing));
        EXPECT_EQ(g_runStatus, 0);
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(answerer.Seen()[0].text, "File or folder\n   " + missing + "\ndoes not exist.");
    }
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
}

TEST_F(RebuildTest, NoTemporaryNameShorterThan250IsRefused)
{
    // Every name from "!!!" to 249 exclamation marks is taken beside the folder.
    for (std::size_t marks = 3; marks < 250; ++marks)
        MakeFileWith(root_.Child(std::string(marks, '!')), "taken");
    const std::string folder = root_.Child("x");
    MakeFolder(folder);
    MakeFileWith(folder + "\\inside.txt", "inside");
    ModalAnswerer answerer({IDOK});
    WriteTimestampByRecreate(W(folder));
    EXPECT_EQ(g_runStatus, 0);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, U(MessageText(Msg::TemporaryName)));
    EXPECT_EQ(ReadBytes(folder + "\\inside.txt"), "inside");
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
}

// Each failure leaves the tree (the folder's own times included) exactly as
// it was and counts one failure.
void ExpectUntouchedAfterFailure(const std::string &root, const std::string &photos,
                                 const TreeListing &before)
{
    EXPECT_EQ(g_runStatus, 2);
    EXPECT_EQ(DescribeDifference(before, ListTree(root)), "");
    EXPECT_NE(GetFileAttributesA(photos.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RebuildTest, AFileThatCannotMoveUndoesTheRebuild)
{
    std::string photos = MakePhotos();
    TreeListing before = ListTree(root_.Path());
    // Held open without delete sharing: it cannot be moved.
    HANDLE held = CreateFileA((photos + "\\b.txt").c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    WriteTimestampByRecreate(W(photos));
    CloseHandle(held);
    ExpectUntouchedAfterFailure(root_.Path(), photos, before);
    // The new folder had been made: it was a move that failed, and the
    // entries moved before it went back.
    EXPECT_EQ(g_simulatedClock.created.size(), 1u);
}

int g_handleWrites = 0;
BOOL CountingSetItemTimes(HANDLE item, const FILETIME *c, const FILETIME *a, const FILETIME *w)
{
    ++g_handleWrites;
    return SetFileTime(item, c, a, w);
}

TEST_F(RebuildTest, AClockThatRefusesUndoesTheRebuildWhereFoldersCannotBeOpened)
{
    // Windows 98: no folder can be opened, so the rebuild is the only way.
    g_windowsKind = 1;
    std::string photos = MakePhotos();
    TreeListing before = ListTree(root_.Path());
    g_platform.setClock = seams_.saved.setClock;  // the refusing clock of every test
    g_handleWrites = 0;
    g_platform.setItemTimes = CountingSetItemTimes;
    WriteTimestampByRecreate(W(photos));
    ExpectUntouchedAfterFailure(root_.Path(), photos, before);
    EXPECT_TRUE(g_simulatedClock.created.empty());
    EXPECT_EQ(g_handleWrites, 0) << "a folder is never opened on this kind of system";
}

TEST_F(RebuildTest, WithoutTheClockRightNewerSystemsWriteTheFolderByHandle)
{
    g_windowsKind = 7;
    std::string photos = MakePhotos();
    TreeListing contents = ListTree(photos);
    const DWORD attributes = GetFileAttributesA(photos.c_str());
    g_platform.setClock = seams_.saved.setClock;  // refuses, as for an ordinary user
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 1);
    EXPECT_EQ(DescribeDifference(contents, ListTree(photos)), "");
    EXPECT_EQ(GetFileAttributesA(photos.c_str()), attributes);
    ItemTimes times = {};
    ASSERT_TRUE(ReadItem(photos, &times));
    const ULONGLONG target = LocalToCount(2010, 5, 6, 12, 34, 30);
    EXPECT_EQ(ToCount(times.created), target);
    EXPECT_EQ(ToCount(times.written), target);
    EXPECT_EQ(g_simulatedClock.offset, 0) << "the clock was never changed";
    EXPECT_TRUE(g_simulatedClock.created.empty());
}

TEST_F(RebuildTest, WithoutTheRightToSetTheClockNoFolderIsTakenApart)
{
    g_simulatedClock.rightHeld = false;
    std::string photos = MakePhotos();
    const TreeListing contents = ListTree(photos);
    const std::size_t besidePhotos = ListTree(root_.Path()).size();
    for (int kind : {1, 7}) {
        g_windowsKind = kind;
        g_runStatus = 1;
        WriteTimestampByRecreate(W(photos));
        EXPECT_EQ(g_runStatus, kind == 1 ? 2 : 1) << "kind " << kind;
    }
    // Never renamed, never re-created, the clock never set; kind 7 wrote the
    // folder's own times by handle.
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
    EXPECT_TRUE(g_simulatedClock.created.empty());
    EXPECT_EQ(DescribeDifference(contents, ListTree(photos)), "");
    EXPECT_EQ(ListTree(root_.Path()).size(), besidePhotos);
}

TEST_F(RebuildTest, ContentsComingHomeCanRenewTheFolderTimesWhichAreWrittenAgainOrCounted)
{
    // Moving entries into the new folder renews its write time on this file
    // system: Windows 98 cannot open a folder to set it right.
    std::string photos = MakePhotos();
    g_windowsKind = 1;
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 2);
    g_windowsKind = 6;
    g_runStatus = 1;
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 1);
    ItemTimes times = {};
    ASSERT_TRUE(ReadItem(photos, &times));
    EXPECT_EQ(ToCount(times.written), LocalToCount(2010, 5, 6, 12, 34, 30));
}

TEST_F(RebuildTest, AClockThatCannotBeSetBackIsToldWithWhatItShowsAndNeverSetAgain)
{
    std::string photos = MakePhotos();
    const TreeListing contents = ListTree(photos);
    g_simulatedClock.setsAllowed = 1;  // to the moment, and never back
    g_clockNotPutBack = 0;
    ModalAnswerer answerer({IDOK});
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 0) << "the run stops";
    ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
    const std::string text = answerer.Seen()[0].text;
    EXPECT_EQ(text.find("The system clock could not be set back"), 0u) << text;
    EXPECT_NE(text.find("It now shows 05/06/2010  12:34:"), std::string::npos) << text;
    EXPECT_EQ(DescribeDifference(contents, ListTree(photos)), "");
    // A later folder of the run goes the way that needs no clock.
    const std::size_t settings = g_simulatedClock.setValues.size();
    g_runStatus = 1;
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_simulatedClock.setValues.size(), settings);
    EXPECT_EQ(g_runStatus, 1);
    g_clockNotPutBack = 0;
}

TEST_F(RebuildTest, AFolderHandedItsOldCreationTimeIsNotASuccess)
{
    // The file system hands the new folder the creation time of the one that
    // left under the same name a moment ago.
    g_simulatedClock.duringCreate = [this](const char *path) { StampItem(path, old_); };
    std::string photos = MakePhotos();
    TreeListing contents = ListTree(photos);

    g_windowsKind = 0;
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 2) << "no way to set it right: counted as a failure";
    EXPECT_EQ(DescribeDifference(contents, ListTree(photos)), "");

    g_windowsKind = 7;
    g_runStatus = 1;
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 1) << "written again by handle";
    EXPECT_EQ(DescribeDifference(contents, ListTree(photos)), "");
    ItemTimes times = {};
    ASSERT_TRUE(ReadItem(photos, &times));
    EXPECT_EQ(ToCount(times.created), LocalToCount(2010, 5, 6, 12, 34, 30));
}

TEST_F(RebuildTest, ACreateThatFailsUndoesTheRebuild)
{
    std::string photos = MakePhotos();
    TreeListing before = ListTree(root_.Path());
    g_simulatedClock.failCreate = true;
    WriteTimestampByRecreate(W(photos));
    ExpectUntouchedAfterFailure(root_.Path(), photos, before);
    // The clock was put back all the same.
    EXPECT_EQ(g_simulatedClock.setValues.size(), 2u);
}

TEST_F(RebuildTest, ATargetThatIsNoDateChangesNothing)
{
    std::string photos = MakePhotos();
    MakeFileWith(root_.Child("file.txt"), "f");
    EXPECT_TRUE(StampItem(root_.Child("file.txt"), old_));
    TreeListing before = ListTree(root_.Path());
    SetTargetTime(2010, 4, 31, 12, 0, 0);
    WriteTimestampByRecreate(W(photos));
    WriteTimestampByRecreate(W(root_.Child("file.txt")));
    EXPECT_EQ(g_runStatus, 3);
    EXPECT_EQ(DescribeDifference(before, ListTree(root_.Path())), "");
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
}

TEST_F(RebuildTest, EveryEntryComesHomeUnderItsOwnName)
{
    // Names no code page spells, a look-alike pair, and a name ending in a dot.
    std::string photos = MakePhotos();
    for (const char *name : {"\xE4\xB8\x80\xE4\xBA\x8C.txt", "\xC4\x81.txt", "a.txt", "report.", "report"})
        MakeFileWith(photos + "\\" + name, name);
    const TreeListing before = ListTree(photos);
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 1);
    EXPECT_EQ(DescribeDifference(before, ListTree(photos)), "");
    EXPECT_EQ(ListTree(root_.Path()).count("!!!"), 0u);
}

TEST_F(RebuildTest, WhatCannotBePutBackIsReportedWithItsPlace)
{
    std::string photos = MakePhotos();
    // The create fails after something else took the folder's name, so the
    // folder cannot return under it.
    g_simulatedClock.failCreate = true;
    g_simulatedClock.duringCreate = [](const char *path) {
        HANDLE squatter = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(squatter);
    };
    ModalAnswerer answerer({IDOK});
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 0);
    const std::string temporary = root_.Child("!!!");
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text,
              "Unable to change the directory timestamp, and unable to restore the directory\n   " +
                  photos + "\nSome of its contents are in the folder\n   " + temporary);
    // Nothing is lost: every entry is in the temporary folder.
    for (const char *name : {"a.jpg", "b.txt", ".hidden", "sub\\c.txt", "sub\\deeper\\d.bin"})
        EXPECT_NE(GetFileAttributesA((temporary + "\\" + name).c_str()), INVALID_FILE_ATTRIBUTES)
            << name;
}

TEST_F(RebuildTest, TheClockIsPutBackWithTheTimeThatPassed)
{
    std::string photos = MakePhotos();
    g_simulatedClock.duringCreate = [](const char *) { Sleep(1500); };
    WriteTimestampByRecreate(W(photos));
    EXPECT_EQ(g_runStatus, 1);
    ASSERT_EQ(g_simulatedClock.setValues.size(), 2u);
    // Back in step with real time, not 1.5 s behind it.
    const LONGLONG offset = g_simulatedClock.offset;
    EXPECT_LT(offset < 0 ? -offset : offset, static_cast<LONGLONG>(kOneSecond / 4)) << offset;
}

TEST_F(RebuildTest, AWalkRebuildsEveryFolderOnceAndSparesDotsAndTheProgram)
{
    std::string top = root_.Child("Top");
    MakeFolder(top);
    MakeFileWith(top + "\\a.txt", "a");
    MakeFolder(top + "\\.settings");
    MakeFileWith(top + "\\.settings\\s.txt", "s");
    MakeFolder(top + "\\one");
    MakeFileWith(top + "\\one\\b.txt", "b");
    MakeFileWith(top + "\\one\\KLOKAN99.EXE", "MZ");
    MakeFolder(top + "\\one\\two");
    MakeFileWith(top + "\\one\\two\\c.txt", "c");
    MakeFolder(top + "\\one\\two\\three");
    MakeFileWith(top + "\\one\\two\\three\\d.txt", "d");
    for (const char *name : {"a.txt", ".settings", ".settings\\s.txt", "one\\KLOKAN99.EXE"})
        EXPECT_TRUE(StampItem(top + "\\" + name, old_));
    g_programPath = W((top + "\\one\\klokan99.exe"));
    TreeListing before = ListTree(top);
    const std::string directory = CurrentDirectory();
    // The walk's first item checks its drive: a FAT volume.
    g_platform.volumeFileSystem = [](const wchar_t *, wchar_t *name, DWORD size) {
        lstrcpynW(name, L"FAT", static_cast<int>(size));
        return true;
    };
    RecordCreationTimes();

    ChangeSubtreeTimestamps(nullptr, W(top), 0);

    EXPECT_EQ(g_runStatus, 1);
    EXPECT_EQ(CurrentDirectory(), directory);
    std::vector<std::string> expected = {top + "\\one", top + "\\one\\two",
                                         top + "\\one\\two\\three"};
    std::sort(g_simulatedClock.created.begin(), g_simulatedClock.created.end());
    EXPECT_EQ(g_simulatedClock.created, expected);
    for (const std::string &folder : expected) ExpectAtMoment(createdAt_[folder], folder);
    const ULONGLONG target = LocalToCount(2010, 5, 6, 12, 34, 30);
    for (const char *name : {"a.txt", "one\\b.txt", "one\\two\\c.txt", "one\\two\\three\\d.txt"}) {
        ItemTimes times = {};
        ASSERT_TRUE(ReadItem(top + "\\" + name, &times));
        EXPECT_EQ(ToCount(times.written), target) << name;
        EXPECT_EQ(ToCount(times.created), target) << name;
    }
    TreeListing after = ListTree(top);
    for (const char *name : {".settings", ".settings\\s.txt", "one\\KLOKAN99.EXE"}) {
        EXPECT_EQ(after[name].written, before[name].written) << name;
        EXPECT_EQ(after[name].created, before[name].created) << name;
    }
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(ListTree(root_.Path()).size(), after.size() + 1);
    g_programPath.clear();
}

TEST_F(RebuildTest, TheFirstItemOnANetworkOrCdDriveStopsTheRun)
{
    for (const wchar_t *path : {L"N:\\photos", L"L:\\photos"}) {
        g_runStatus = 1;
        ModalAnswerer answerer({IDOK});
        ChangeItemTimestamp(nullptr, path, 0);
        EXPECT_EQ(g_runStatus, 0) << U(path);
        ASSERT_EQ(answerer.Seen().size(), 1u) << U(path);
        EXPECT_EQ(answerer.Seen()[0].text, U(MessageText(Msg::DriveKindRefused)));
        // A stopped run changes and shows nothing more.
        ChangeItemTimestamp(nullptr, path, 0);
        ChangeSubtreeTimestamps(nullptr, W(root_.Path()), 1);
        EXPECT_EQ(answerer.Seen().size(), 1u);
        EXPECT_EQ(g_runStatus, 0);
    }
}

TEST_F(RebuildTest, NoFolderIsTakenApartOutsideTheChangeLock)
{
    // Windows 98: no way to the folder's times but the rebuild.
    g_windowsKind = 1;
    const std::string photos = MakePhotos();
    const TreeListing before = ListTree(root_.Path());
    ReleaseChangeLock();
    ASSERT_FALSE(ChangeLockHeld());
    WriteTimestampByRecreate(W(photos));
    TakeChangeLock();
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
    EXPECT_TRUE(g_simulatedClock.created.empty());
    ExpectUntouchedAfterFailure(root_.Path(), photos, before);
}

bool ReportsFat(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"FAT32", static_cast<int>(size));
    return true;
}

TEST_F(RebuildTest, UndoOfAFolderMadeAtTheFirstSecondOf1980PutsBackAllButItsCreation)
{
    // A camera's folder: made at 1980-01-01 00:00:00, which no rebuilt folder can get.
    g_platform.volumeFileSystem = ReportsFat;
    const std::string dcim = root_.Child("DCIM");
    MakeFolder(dcim);
    ItemState before;
    before.created = FromCount(LocalToCount(1980, 1, 1, 0, 0, 0));
    before.accessed = before.written = old_;
    before.attributes = FILE_ATTRIBUTE_DIRECTORY;
    before.name = L"DCIM";
    ItemState after = before;
    after.created = after.accessed = after.written = FromCount(LocalToCount(2010, 5, 6, 12, 34, 30));
    ASSERT_TRUE(StampItem(dcim, after.written));
    ASSERT_TRUE(JournalBegin(JournalKind::Timestamp, false, nullptr));
    ASSERT_TRUE(JournalRecordChange(W(dcim), before, after));
    ASSERT_TRUE(JournalFlush());
    JournalEnd(RunOutcome::Completed);
    const UndoChoice choice = ChooseUndo();
    ASSERT_EQ(choice.status, UndoChoice::Offered);

    ModalAnswerer answerer({IDOK});
    UndoOutcome outcome;
    BeginRunProgress();
    const UndoPlan plan = PlanUndo(choice.journal, &outcome);
    SetRunTotal(plan.items.size());
    PutItemsBack(choice.journal, plan, &outcome);
    EndRunProgress();
    EXPECT_TRUE(answerer.Seen().empty()) << answerer.Describe();  // no 1980 warning: nobody chose it
    EXPECT_EQ(outcome.putBack, 1u);
    EXPECT_TRUE(outcome.failed.empty());
    ASSERT_EQ(outcome.creationLeft.size(), 1u);
    EXPECT_EQ(U(outcome.creationLeft[0]), dcim);
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
    ItemTimes times = {};
    ASSERT_TRUE(ReadItem(dcim, &times));
    EXPECT_TRUE(SameTime(times.written, old_));
}

// Last in this program: across all the rebuilds above, the machine's clock
// moved only as much as time passed.
// A rebuild cut off anywhere leaves a folder that is put together with its
// own old times and attributes: never taken apart, whole again with the
// times of its making, or with its entries still aside.
TEST_F(RebuildTest, AFolderCutOffAnywhereIsPutTogetherWithItsOldState)
{
    enum class Cut { BeforeTheRename, WholeAgain, EntriesAside };
    for (const Cut cut : {Cut::BeforeTheRename, Cut::WholeAgain, Cut::EntriesAside}) {
        SCOPED_TRACE(static_cast<int>(cut));
        const std::string photos = MakePhotos();
        const TreeListing inside = ListTree(photos);
        RebuildStep step;
        step.folder = W(photos);
        step.temporary = W(root_.Child("!!!"));
        step.attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
        step.created = step.accessed = step.written = old_;
        const FILETIME made = FromCount(LocalToCount(2010, 5, 6, 12, 34, 29));
        if (cut != Cut::BeforeTheRename) {
            ASSERT_TRUE(SetFileAttributesA(photos.c_str(), FILE_ATTRIBUTE_NORMAL));
            ASSERT_TRUE(MoveFileA(photos.c_str(), U(step.temporary).c_str()));
            MakeFolder(photos);
            const bool all = cut == Cut::WholeAgain;
            for (const char *name : {"a.jpg", "b.txt", ".hidden", "sub"}) {
                if (!all && std::string(name) != "a.jpg") continue;
                ASSERT_TRUE(MoveFileA((U(step.temporary) + "\\" + name).c_str(), (photos + "\\" + name).c_str()));
            }
            if (all) {
                ASSERT_TRUE(RemoveDirectoryA(U(step.temporary).c_str()));
            }
            ASSERT_TRUE(StampItem(photos, made));
        }
        ASSERT_TRUE(PutFolderTogether(step));
        ItemTimes times;
        ASSERT_TRUE(ReadItem(photos, &times));
        EXPECT_EQ(ToCount(times.written), ToCount(old_));
        EXPECT_EQ(ToCount(times.created), ToCount(old_));
        // Wine keeps no read-only bit for a folder: hidden tells.
        EXPECT_NE(times.attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
        EXPECT_EQ(ListTree(photos).size(), inside.size());
        EXPECT_EQ(GetFileAttributesW(SystemPath(step.temporary).c_str()), INVALID_FILE_ATTRIBUTES);
        // Out of the way of the next case's Photos.
        SetFileAttributesA(photos.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(MoveFileA(photos.c_str(), root_.Child("cut" + std::to_string(static_cast<int>(cut))).c_str()));
    }
}

TEST(HostClock, DidNotMoveAcrossTheRebuilds)
{
    FILETIME system;
    LARGE_INTEGER counter;
    GetSystemTimeAsFileTime(&system);
    QueryPerformanceCounter(&counter);
    const double byCounter = static_cast<double>(counter.QuadPart - g_hostClockAtStart.counter.QuadPart) /
                             static_cast<double>(g_hostClockAtStart.frequency.QuadPart);
    const double byClock =
        static_cast<double>(static_cast<LONGLONG>(ToCount(system) - ToCount(g_hostClockAtStart.system))) /
        1e7;
    EXPECT_NEAR(byClock, byCounter, 3.0);
}

}  // namespace
