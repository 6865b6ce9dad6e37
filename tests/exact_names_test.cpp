// Every name exactly as the file system gives it, through klokan99's walks,
// its folder list, the attribute and letter changes and the rebuild of a
// folder, in whatever code page the process runs: names no code page spells,
// a look-alike pair (an "a" with a macron beside "a"), a name ending in a dot
// beside the same name without it, a folder whose name ends in a character
// with a 0x5C byte in Shift-JIS, and a file more than 300 characters down.
// Each entry has a size of its own, so that a row or a write that reached
// another item shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "attributes.h"
#include "attribute_change.h"
#include "browser_windows.h"
#include "folder_list.h"
#include "language.h"
#include "letter_change.h"
#include "change_lock.h"
#include "fixture_trees.h"
#include "run_report.h"
#include "path_text.h"
#include "platform_seams.h"
#include "recreate_writer.h"
#include "simulated_clock.h"
#include "target_time.h"
#include "temp_tree.h"
#include "test_support.h"
#include "timestamp_items.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

struct Entry {
    std::string name;  // UTF-8, relative to the test folder
    DWORD size;        // 0 for a folder
};

const std::string kDeep = std::string(60, 'a') + "\\" + std::string(60, 'b') + "\\" +
                          std::string(60, 'c') + "\\" + std::string(60, 'd') + "\\" +
                          std::string(60, 'e');

std::vector<Entry> MixedEntries()
{
    return {{"\xE6\x97\xA5.txt", 1},                    // 日.txt
            {"a.txt", 2},
            {"\xC4\x81.txt", 3},                        // ā.txt
            {"report.", 4},
            {"report", 5},
            {"\xE5\x86\x99\xE7\x9C\x9F\xF0\x9F\x8E\x89.jpg", 6},  // 写真🎉.jpg
            {"\xE4\xB8\x80\xE8\xA6\xA7\xE8\xA1\xA8", 0},          // 一覧表
            {"\xE4\xB8\x80\xE8\xA6\xA7\xE8\xA1\xA8\\x.txt", 7},
            {"\xE4\xB8\x80\xE8\xA6\xA7\xE8\xA1\xA8\xE3\x83\xA1\xE3\x83\xA2.txt", 8},  // 一覧表メモ.txt
            {std::string(60, 'a'), 0},
            {std::string(60, 'a') + "\\" + std::string(60, 'b'), 0},
            {std::string(60, 'a') + "\\" + std::string(60, 'b') + "\\" + std::string(60, 'c'), 0},
            {kDeep.substr(0, 60 * 4 + 3), 0},
            {kDeep, 0},
            {kDeep + "\\deep.txt", 9}};
}

// How often each item (by its file index) had its times written.
std::map<ULONGLONG, int> g_writesPerItem;

BOOL CountingSetItemTimes(HANDLE item, const FILETIME *created, const FILETIME *accessed,
                          const FILETIME *written)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (GetFileInformationByHandle(item, &info))
        ++g_writesPerItem[(static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow];
    return g_realPlatform.setItemTimes(item, created, accessed, written);
}

ULONGLONG FileIndexOf(const std::string &path)
{
    HANDLE item = CreateFileW(SystemPath(W(path)).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    EXPECT_NE(item, INVALID_HANDLE_VALUE) << path;
    if (item != INVALID_HANDLE_VALUE) {
        GetFileInformationByHandle(item, &info);
        CloseHandle(item);
    }
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

class ExactNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        std::memcpy(savedTarget_, g_targetTime, sizeof savedTarget_);
        g_runStatus = 1;
        ForgetCheckedDrive();  // a new run checks its drive again
        g_windowsKind = 6;
        g_japaneseMode = 0;
        g_writesPerItem.clear();
        g_platform.setItemTimes = CountingSetItemTimes;
        SetTargetTime(2010, 5, 6, 12, 34, 30);
        old_ = UtcOfLocal(2001, 2, 3, 4, 5, 6);
        target_ = UtcOfLocal(2010, 5, 6, 12, 34, 30);
        mixed_ = temp.Child("Mixed");
        MakeFolder(mixed_);
        for (const Entry &entry : entries_) {
            if (entry.size == 0)
                MakeFolder(PathOf(entry));
            else
                MakeFileWith(PathOf(entry), std::string(entry.size, 'x'));
        }
        for (const Entry &entry : entries_) ASSERT_TRUE(StampItem(PathOf(entry), old_)) << entry.name;
    }
    void TearDown() override { std::memcpy(g_targetTime, savedTarget_, sizeof savedTarget_); }

    std::string PathOf(const Entry &entry) const { return mixed_ + "\\" + entry.name; }
    ItemTimes Read(const Entry &entry) const
    {
        ItemTimes times = {};
        EXPECT_TRUE(ReadItem(PathOf(entry), &times)) << entry.name;
        return times;
    }

    IntGuard kind{g_windowsKind};
    IntGuard language{g_japaneseMode};
    IntGuard ntfs{g_ntfsVolume};
    IntGuard status{g_runStatus};
    SeamGuard seams;
    TempFolder temp;
    std::string mixed_;
    const std::vector<Entry> entries_ = MixedEntries();
    FILETIME old_ = {}, target_ = {};
    TimeFields savedTarget_;
};

TEST_F(ExactNames, TheTimestampWalkChangesEachEntryOnceThroughItsOwnName)
{
    ChangeSubtreeTimestamps(nullptr, W(mixed_), 0);
    EXPECT_EQ(g_runStatus, 1);
    for (const Entry &entry : entries_) {
        EXPECT_EQ(g_writesPerItem[FileIndexOf(PathOf(entry))], 1) << entry.name;
        const ItemTimes times = Read(entry);
        EXPECT_TRUE(SameTime(times.written, target_)) << entry.name;
        EXPECT_TRUE(SameTime(times.created, target_)) << entry.name;
    }
}

TEST_F(ExactNames, TheFolderListShowsEachNameAndARowChangesOnlyItsOwnItem)
{
    BrowserWindows windows(false);
    ASSERT_TRUE(windows.Ready());
    ShowFolder(mixed_);
    std::vector<std::string> top;
    for (const Entry &entry : entries_)
        if (entry.name.find('\\') == std::string::npos) top.push_back(entry.name);
    ASSERT_EQ(RowCount(), static_cast<int>(top.size()));
    for (const Entry &entry : entries_) {
        if (entry.name.find('\\') != std::string::npos) continue;
        const int row = FindRow(entry.name);
        ASSERT_GE(row, 0) << entry.name;
        EXPECT_EQ(U(ReadRowFullPath(row)), PathOf(entry));
        if (entry.size) {
            EXPECT_EQ(RowText(row, 1), "         " + std::to_string(entry.size)) << entry.name;
        }
    }
    // "report." and "ā.txt" by their rows: neither look-alike is reached.
    for (const char *name : {"report.", "\xC4\x81.txt"})
        ChangeItemTimestamp(nullptr, ReadRowFullPath(FindRow(name)), 0);
    EXPECT_EQ(g_runStatus, 1);
    for (const Entry &entry : entries_) {
        const bool chosen = entry.name == "report." || entry.name == "\xC4\x81.txt";
        EXPECT_EQ(g_writesPerItem[FileIndexOf(PathOf(entry))], chosen ? 1 : 0) << entry.name;
        EXPECT_TRUE(SameTime(Read(entry).written, chosen ? target_ : old_)) << entry.name;
    }
}

TEST_F(ExactNames, TheAttributeWalkGivesEachEntryExactlyTheChoice)
{
    IntGuard readOnly{g_attrReadOnly}, hidden{g_attrHidden}, system{g_attrSystem},
        archive{g_attrArchive};
    g_attrReadOnly = 1;
    g_attrHidden = 1;
    g_attrSystem = 0;
    g_attrArchive = 0;
    ChangeSubtreeAttributes(W(mixed_));
    // Wine keeps no read-only bit for a folder: hidden tells folders.
    for (const Entry &entry : entries_) {
        const DWORD wanted = entry.size ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN
                                        : FILE_ATTRIBUTE_HIDDEN;
        EXPECT_EQ(Read(entry).attributes & wanted, wanted) << entry.name;
    }
    for (const Entry &entry : entries_) SetFileAttributesW(SystemPath(W(PathOf(entry))).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ExactNames, TheLetterWalkGivesEachNameItsOwnCapitals)
{
    IntGuard caseMode{g_caseMode};
    g_caseMode = 1;
    ChangeSubtreeLetters(W(mixed_));
    const std::map<std::string, DWORD> expected = {
        {"\xE6\x97\xA5.TXT", 1}, {"A.TXT", 2}, {"\xC4\x80.TXT", 3}, {"REPORT.", 4}, {"REPORT", 5},
        {"\xE5\x86\x99\xE7\x9C\x9F\xF0\x9F\x8E\x89.JPG", 6},
        {"\xE4\xB8\x80\xE8\xA6\xA7\xE8\xA1\xA8\\X.TXT", 7},
        {"\xE4\xB8\x80\xE8\xA6\xA7\xE8\xA1\xA8\xE3\x83\xA1\xE3\x83\xA2.TXT", 8}};
    const TreeListing after = ListTree(mixed_);
    for (const auto &file : expected) {
        ASSERT_EQ(after.count(file.first), 1u) << file.first;
        EXPECT_EQ(after.at(file.first).size, file.second) << file.first;
    }
}

TEST_F(ExactNames, TheRebuildWalkKeepsEveryEntryUnderItsOwnName)
{
    UseSimulatedClock();
    ChangeLockHold lock;
    g_ntfsVolume = 0;
    const TreeListing before = ListTree(mixed_);
    ChangeSubtreeTimestamps(nullptr, W(mixed_), 1);
    EXPECT_EQ(g_runStatus, 1);
    // Every folder but the deepest's chain was made again, each once.
    EXPECT_EQ(g_simulatedClock.created.size(), 6u);
    const TreeListing after = ListTree(mixed_);
    ASSERT_EQ(after.size(), before.size());
    for (const auto &entry : before) {
        ASSERT_EQ(after.count(entry.first), 1u) << entry.first;
        EXPECT_EQ(after.at(entry.first).bytes, entry.second.bytes) << entry.first;
    }
    EXPECT_EQ(ListTree(temp.Path()).count("!!!"), 0u);
}

// Names another system made (tests/fixtures/make_trees.sh, odd-*): each
// entry is changed, through its short name where no path holds its own, or
// named in the run's report. Only a tab (no short name) and a backslash
// inside a name are beyond reach; the backslash never reaches "back\slash.txt".
class MadeElsewhere : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_runStatus = 1;
        g_windowsKind = 6;
        g_ntfsVolume = 1;
        ForgetCheckedDrive();
        ForgetFinalPathCache();
        SetTargetTime(2010, 5, 6, 12, 34, 30);
        target_ = LocalToCount(2010, 5, 6, 12, 34, 30);
        BeginRunReport();
    }

    // The report's entries by path relative to root, with their reasons.
    static std::map<std::string, NotChanged> Named(const std::string &root)
    {
        std::map<std::string, NotChanged> named;
        for (const NotChangedItem &item : ItemsNotChanged()) {
            const std::string path = U(item.path);
            EXPECT_EQ(path.compare(0, root.size() + 1, root + "\\"), 0) << path;
            named[path.substr(root.size() + 1)] = item.reason;
        }
        return named;
    }

    const std::map<std::string, NotChanged> kBeyondReach = {
        {"tab\t.txt", NotChanged::UnreachableName}, {"back\\slash.txt", NotChanged::UnreachableName}};
    IntGuard kind{g_windowsKind};
    IntGuard ntfs{g_ntfsVolume};
    IntGuard status{g_runStatus};
    SeamGuard seams;
    ULONGLONG target_ = 0;
};

TEST_F(MadeElsewhere, EveryEntryGetsTheTimeOrIsNamedOnBothWriters)
{
    for (const char *copy : {"odd-times", "odd-rebuild"}) {
        SCOPED_TRACE(copy);
        const bool rebuild = std::string(copy) == "odd-rebuild";
        SeamGuard rebuildSeams;
        std::unique_ptr<ChangeLockHold> lock;
        if (rebuild) {
            UseSimulatedClock();
            lock = std::make_unique<ChangeLockHold>();
            g_ntfsVolume = 0;
        }
        BeginRunReport();
        const std::string root = FixtureTree(copy);
        const TreeListing before = ListTree(root);
        ASSERT_GT(before.size(), 25u);
        ChangeSubtreeTimestamps(nullptr, W(root), 0);
        const TreeListing after = ListTree(root);
        EXPECT_EQ(Named(root), kBeyondReach);
        for (const auto &[key, entry] : before) {
            ASSERT_EQ(after.count(key), 1u) << key << " lost";
            EXPECT_EQ(after.at(key).bytes, entry.bytes) << key;
            const bool beyond = key == "tab\t.txt" || key == "back%5Cslash.txt";
            EXPECT_EQ(after.at(key).written == target_, !beyond) << key;
        }
        EXPECT_EQ(after.size(), before.size());
        if (rebuild) {
            EXPECT_EQ(ListTree(FixtureTree("")).count("!!!"), 0u);
        }
    }
}

TEST_F(MadeElsewhere, AttributesReachEveryEntryThatHasAShortName)
{
    IntGuard readOnly{g_attrReadOnly}, hidden{g_attrHidden}, system{g_attrSystem}, archive{g_attrArchive};
    g_attrReadOnly = g_attrSystem = g_attrArchive = 0;
    g_attrHidden = 1;
    const std::string root = FixtureTree("odd-attributes");
    ChangeSubtreeAttributes(W(root));
    EXPECT_EQ(Named(root), kBeyondReach);
    for (const auto &[key, entry] : ListTree(root)) {
        const bool beyond = key == "tab\t.txt" || key == "back%5Cslash.txt";
        EXPECT_EQ((entry.attributes & FILE_ATTRIBUTE_HIDDEN) != 0, !beyond) << key;
    }
}

TEST_F(MadeElsewhere, LettersRenameEachEntryOrNameItWithItsReason)
{
    IntGuard caseMode{g_caseMode};
    g_caseMode = 1;
    const std::string root = FixtureTree("odd-letters");
    const TreeListing before = ListTree(root);
    ChangeSubtreeLetters(W(root));
    const std::map<std::string, NotChanged> named = Named(root);
    const TreeListing after = ListTree(root);
    EXPECT_EQ(after.size(), before.size());
    // Each step of each path in capitals, unless that step was named.
    for (const auto &[key, entry] : before) {
        std::string expected, real;  // real: the path as the report names it
        for (std::size_t start = 0; start <= key.size();) {
            std::size_t end = key.find('\\', start);
            if (end == std::string::npos) end = key.size();
            const std::string step = key.substr(start, end - start);
            real += (real.empty() ? "" : "\\") + (step == "back%5Cslash.txt" ? "back\\slash.txt" : step);
            std::wstring upper = W(step);
            CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
            // The name with a backslash reads as the path of back's own slash.txt.
            const bool kept = named.count(real) && (real != "back\\slash.txt" || step == "back%5Cslash.txt");
            expected += (expected.empty() ? "" : "\\") + (kept ? step : U(upper));
            start = end + 1;
        }
        ASSERT_EQ(after.count(expected), 1u) << key << " as " << expected;
        EXPECT_EQ(after.at(expected).bytes, entry.bytes) << key;
    }
    // What no rename can spell is named, and so is each of the case pair:
    // in capitals the two would share one name.
    for (const char *name : {"why?.txt", "lt<gt>.txt", "tab\t.txt", "back\\slash.txt", "why?folder"})
        EXPECT_EQ(named.count(name), 1u) << name;
    for (const char *twin : {"Case.txt", "case.txt"}) {
        ASSERT_EQ(named.count(twin), 1u) << twin;
        EXPECT_EQ(named.at(twin), NotChanged::NameTaken) << twin;
    }
}

}  // namespace
