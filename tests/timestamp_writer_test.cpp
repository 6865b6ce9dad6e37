#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "fixture_trees.h"
#include "local_time.h"
#include "path_text.h"
#include "run_report.h"
#include "item_access.h"
#include "link_probe.h"
#include "subtree_walk.h"
#include "target_time.h"
#include "test_support.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

const FILETIME kOldTime = UtcOfLocal(2001, 2, 3, 4, 5, 6);

void ExpectAllTimes(const std::string &path, const FILETIME &expected)
{
    ItemTimes now;
    ASSERT_TRUE(ReadItem(path, &now)) << path;
    EXPECT_TRUE(SameTime(now.created, expected)) << path;
    EXPECT_TRUE(SameTime(now.accessed, expected)) << path;
    EXPECT_TRUE(SameTime(now.written, expected)) << path;
}

// Puts the target time fields back when the guard ends.
struct TargetGuard {
    TargetGuard() { std::memcpy(saved, g_targetTime, sizeof saved); }
    ~TargetGuard() { std::memcpy(g_targetTime, saved, sizeof saved); }
    TimeFields saved;
};

class HandleWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        g_ntfsVolume = 1;
        g_runStatus = 1;
    }

    // A file (or folder) with the old time on all three stamps and the given attributes.
    std::string MakeItem(const std::string &name, DWORD attributes, bool folder = false)
    {
        std::string path = temp.Child(name);
        bool made = folder ? CreateDirectoryA(path.c_str(), nullptr) != FALSE : MakeFile(path);
        EXPECT_TRUE(made) << path;
        EXPECT_TRUE(StampItem(path, kOldTime)) << path;
        if (attributes) {
            EXPECT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
        }
        return path;
    }

    TempFolder temp;
    IntGuard ntfs{g_ntfsVolume};
    IntGuard status{g_runStatus};
    SeamGuard seams;
    TargetGuard target;
};

TEST_F(HandleWriter, SetsAllThreeTimesAndKeepsTheAttributes)
{
    struct Case {
        const char *name;
        DWORD attributes;
        bool folder;
    };
    const Case cases[] = {
        {"plain.txt", 0, false},
        {"readonly.txt", FILE_ATTRIBUTE_READONLY, false},
        {"hidden-system.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, false},
        {"all-four.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                             FILE_ATTRIBUTE_ARCHIVE, false},
        {"folder", 0, true},
        {"read-only folder", FILE_ATTRIBUTE_READONLY, true},
        {"hidden-system folder", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true},
    };
    SetTargetTime(2010, 5, 6, 12, 34, 31);
    const FILETIME expected = UtcOfLocal(2010, 5, 6, 12, 34, 31);
    for (const Case &c : cases) {
        std::string path = MakeItem(c.name, c.attributes, c.folder);
        ItemTimes before;
        ASSERT_TRUE(ReadItem(path, &before));
        g_runStatus = 1;
        WriteTimestampByHandle(W(path));
        EXPECT_EQ(g_runStatus, 1) << c.name;
        ExpectAllTimes(path, expected);
        ItemTimes after;
        ASSERT_TRUE(ReadItem(path, &after));
        EXPECT_EQ(after.attributes, before.attributes) << c.name;
    }
}

TEST_F(HandleWriter, RoundsOddSecondsDownOnlyOffNtfs)
{
    SetTargetTime(2010, 5, 6, 12, 34, 31);
    std::string path = MakeItem("seconds.txt", 0);

    g_platform.volumeFileSystem = [](const wchar_t *, wchar_t *name, DWORD size) {
        lstrcpynW(name, L"FAT32", static_cast<int>(size));
        return true;
    };
    DetectNtfs(L"C:\\");
    ASSERT_EQ(g_ntfsVolume, 0);
    WriteTimestampByHandle(W(path));
    EXPECT_EQ(g_runStatus, 1);
    ExpectAllTimes(path, UtcOfLocal(2010, 5, 6, 12, 34, 30));

    g_platform.volumeFileSystem = [](const wchar_t *, wchar_t *name, DWORD size) {
        lstrcpynW(name, L"NTFS", static_cast<int>(size));
        return true;
    };
    DetectNtfs(L"C:\\");
    ASSERT_EQ(g_ntfsVolume, 1);
    WriteTimestampByHandle(W(path));
    EXPECT_EQ(g_runStatus, 1);
    ExpectAllTimes(path, UtcOfLocal(2010, 5, 6, 12, 34, 31));
}

TEST_F(HandleWriter, MissingItemIsSkippedWithoutCounting)
{
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    WriteTimestampByHandle(W(temp.Child("nothing-here.txt")));
    EXPECT_EQ(g_runStatus, 1);
    g_runStatus = 3;  // failures already counted stay counted
    WriteTimestampByHandle(W(temp.Child("nothing-here.txt")));
    EXPECT_EQ(g_runStatus, 3);
}

TEST_F(HandleWriter, InvalidDateCountsOneFailureAndChangesNothing)
{
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    std::string path = MakeItem("kept.txt", attributes);
    ItemTimes before;
    ASSERT_TRUE(ReadItem(path, &before));

    SetTargetTime(2010, 4, 31, 12, 0, 0);  // 31 April
    WriteTimestampByHandle(W(path));
    EXPECT_EQ(g_runStatus, 2);
    SetTargetTime(2001, 2, 29, 12, 0, 0);  // 29 February of a common year
    WriteTimestampByHandle(W(path));
    EXPECT_EQ(g_runStatus, 3);

    ExpectAllTimes(path, kOldTime);
    ItemTimes after;
    ASSERT_TRUE(ReadItem(path, &after));
    EXPECT_EQ(after.attributes, before.attributes);
}

TEST_F(HandleWriter, AnItemHeldOpenWithoutSharingIsChangedAndKeepsItsAttributes)
{
    // Attribute access does not conflict with the holder's sharing, and a
    // read-only hidden item opens for it as it is.
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    std::string path = MakeItem("held.txt", attributes);
    ItemTimes before;
    ASSERT_TRUE(ReadItem(path, &before));
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    {
        HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_EQ(WriteTimestampByHandle(W(path)), ItemWrite::Written);
        CloseHandle(held);
    }
    EXPECT_EQ(g_runStatus, 1);
    ExpectAllTimes(path, UtcOfLocal(2010, 5, 6, 12, 34, 30));
    ItemTimes after;
    ASSERT_TRUE(ReadItem(path, &after));
    EXPECT_EQ(after.attributes, before.attributes);
}

// Nothing is changed through another name: the item behind a link, the
// running program's own file under a name of its own.
TEST_F(HandleWriter, NothingIsChangedThroughALinkOrAnotherNameOfTheProgram)
{
    const std::string program = MakeItem("klokan99.exe", 0);
    const std::string hardLink = temp.Child("another-name.exe");
    ASSERT_TRUE(CreateHardLinkA(hardLink.c_str(), program.c_str(), nullptr));
    g_programPath = W(program);
    const std::string victim = FixtureTree("links/outside/victim.txt");
    const std::string outsideDir = FixtureTree("links/outside/dir");
    for (const std::string &item : {victim, outsideDir}) ASSERT_TRUE(StampItem(item, kOldTime));
    struct Case {
        std::string path;
        ItemWrite result;
        int failures;
    };
    const Case cases[] = {
        {FixtureTree("links/chosen/link-to-outside.txt"), ItemWrite::LinkLeftAlone, 0},
        {FixtureTree("links/chosen/link-to-outside-dir"), ItemWrite::LinkLeftAlone, 0},
        // Wine lists no link whose target is gone: it is nothing to change.
        {FixtureTree("links/chosen/dangling.txt"), ItemWrite::Missing, 0},
        {hardLink, ItemWrite::OwnProgram, 0},
    };
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    for (const Case &c : cases) {
        g_runStatus = 1;
        EXPECT_EQ(WriteTimestampByHandle(W(c.path)), c.result) << c.path;
        EXPECT_EQ(g_runStatus, 1 + c.failures) << c.path;
    }
    for (const std::string &item : {victim, outsideDir, program}) ExpectAllTimes(item, kOldTime);
    g_programPath.clear();

    // Where the system opens a link as itself, the link's own times are
    // changed (under Wine the open still lands on the target, which here
    // stands in for the link's own times).
    g_platform.reachedThroughLink = [](HANDLE, const std::wstring &) { return LinkAnswer::Itself; };
    g_runStatus = 1;
    EXPECT_EQ(WriteTimestampByHandle(W(FixtureTree("links/chosen/link-to-outside.txt"))),
              ItemWrite::Written);
    EXPECT_EQ(g_runStatus, 1);
}

// The final-path seam wrapped: how often an item was asked where its open led.
int g_linkQuestions = 0;
LinkAnswer CountedLinkQuestion(HANDLE item, const std::wstring &path)
{
    ++g_linkQuestions;
    return g_realPlatform.reachedThroughLink(item, path);
}

// Where the system opens a link as itself, no item is asked where its open
// led; where it does not, every item is, and a link is left alone. Wine opens
// every link's target, and the probe must find that out for itself.
TEST_F(HandleWriter, WhereOpensLeadIsAskedOnlyWhereLinksDoNotOpenAsThemselves)
{
    EXPECT_NE(ProbeLinkOpen(W(temp.Path())), LinkOpen::AsItself);
    std::vector<std::wstring> left;
    EXPECT_TRUE(ReadFolderNames(W(temp.Path()), &left));
    EXPECT_TRUE(left.empty()) << "the probe left " << left.size() << " entries";
    EXPECT_FALSE(g_realPlatform.linksOpenAsThemselves());

    const std::string plain = MakeItem("plain.txt", 0);
    const std::string link = FixtureTree("links/chosen/link-to-outside.txt");
    g_platform.reachedThroughLink = CountedLinkQuestion;
    struct Case {
        bool asThemselves;
        std::string path;
        ItemWrite result;
        int questions;
    };
    const Case cases[] = {
        {false, plain, ItemWrite::Written, 1},
        {false, link, ItemWrite::LinkLeftAlone, 1},
        // Here the open still lands on the target, which stands in for the
        // link's own times.
        {true, plain, ItemWrite::Written, 0},
        {true, link, ItemWrite::Written, 0},
    };
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    for (const Case &c : cases) {
        g_platform.linksOpenAsThemselves = c.asThemselves ? [] { return true; } : [] { return false; };
        g_linkQuestions = 0;
        g_runStatus = 1;
        EXPECT_EQ(WriteTimestampByHandle(W(c.path)), c.result) << c.path << " " << c.asThemselves;
        EXPECT_EQ(g_linkQuestions, c.questions) << c.path << " " << c.asThemselves;
        EXPECT_EQ(g_runStatus, 1);
    }
}

// An item whose open the link check cannot place is left as it is and
// named with that reason, by the time writer and the attribute writer alike.
TEST_F(HandleWriter, AnItemWhoseReachCannotBeToldIsNamedAndLeftAlone)
{
    const std::string item = MakeItem("unsettled.txt", 0);
    g_platform.linksOpenAsThemselves = [] { return false; };
    g_platform.reachedThroughLink = [](HANDLE, const std::wstring &) { return LinkAnswer::Unsettled; };
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    BeginRunReport();
    g_runStatus = 1;
    EXPECT_EQ(WriteTimestampByHandle(W(item)), ItemWrite::Failed);
    ExpectAllTimes(item, kOldTime);
    ASSERT_EQ(ItemsNotChanged().size(), 1u);
    EXPECT_EQ(ItemsNotChanged()[0].reason, NotChanged::LinkUnsettled);
    ItemReach reach = ItemReach::Opened;
    EXPECT_FALSE(SetItemAttributes(W(item), FILE_ATTRIBUTE_HIDDEN, &reach));
    EXPECT_EQ(ReasonOfError(GetLastError()), NotChanged::LinkUnsettled);
    EXPECT_EQ(reach, ItemReach::Refused);
    EXPECT_EQ(GetFileAttributesA(item.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// The program's own file is known under every name it has, whichever way
// the name is spelt; a file that only shares its size (the first thing
// compared) is changed like any other.
TEST_F(HandleWriter, TheProgramIsKnownUnderEveryNameAndNoOtherFileIsTakenForIt)
{
    const std::string program = MakeItem("klokan99.exe", 0);
    const std::string hardLink = temp.Child("another-name.exe");
    ASSERT_TRUE(CreateHardLinkA(hardLink.c_str(), program.c_str(), nullptr));
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(W(hardLink).c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortName), W(hardLink));
    const std::string sameSize = MakeItem("same-size.exe", 0);
    const std::string otherSize = MakeItem("other-size.exe", 0);
    {
        HANDLE file = CreateFileA(otherSize.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "longer", 6, &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(StampItem(otherSize, kOldTime));
    }
    g_programPath = W(program);
    struct Case {
        std::wstring path;
        ItemWrite result;
    };
    std::wstring upperCase = W(program);
    for (wchar_t &c : upperCase) c = towupper(c);
    const Case cases[] = {
        {upperCase, ItemWrite::OwnProgram},
        {W(hardLink), ItemWrite::OwnProgram},
        {shortName, ItemWrite::OwnProgram},
        {W(sameSize), ItemWrite::Written},
        {W(otherSize), ItemWrite::Written},
    };
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    for (const Case &c : cases) {
        g_runStatus = 1;
        EXPECT_EQ(WriteTimestampByHandle(c.path), c.result) << U(c.path);
        EXPECT_EQ(g_runStatus, 1) << U(c.path);
    }
    g_programPath.clear();
    ExpectAllTimes(program, kOldTime);
    for (const std::string &changed : {sameSize, otherSize})
        ExpectAllTimes(changed, UtcOfLocal(2010, 5, 6, 12, 34, 30));
}

// As a user whom permissions bind: an item that exists but cannot be opened
// is a failure, not a gap; a read-only one (a Unix permission under Wine)
// still gets its times.
TEST_F(HandleWriter, LockedItemFailsWhileReadOnlyItemsStillChange)
{
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    EXPECT_EQ(WriteTimestampByHandle(W(FixtureTree("locked/closed.txt"))), ItemWrite::Failed);
    EXPECT_EQ(g_runStatus, 2);
    g_runStatus = 1;
    for (bool folder : {false, true}) {
        const std::string path = MakeItem(folder ? "read-only folder" : "read-only.txt",
                                          FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, folder);
        EXPECT_EQ(WriteTimestampByHandle(W(path)), ItemWrite::Written) << path;
        ExpectAllTimes(path, UtcOfLocal(2010, 5, 6, 12, 34, 30));
    }
    EXPECT_EQ(g_runStatus, 1);
}

TEST_F(HandleWriter, APathPastTheOldLimitIsChangedAndNothingIsCut)
{
    // Folders of 60 characters, five deep: a file at the end of a path of
    // more than 300 characters.
    std::wstring folder = W(temp.Path());
    for (int level = 0; level < 5; ++level) {
        folder += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(CreateDirectoryW(SystemPath(folder).c_str(), nullptr));
    }
    const std::wstring file = folder + L"\\deep.txt";
    ASSERT_GT(file.size(), 300u);
    ASSERT_TRUE(MakeFile(U(file)));
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    EXPECT_EQ(WriteTimestampByHandle(file), ItemWrite::Written);
    EXPECT_EQ(g_runStatus, 1);
    ExpectAllTimes(U(file), UtcOfLocal(2010, 5, 6, 12, 34, 30));
    // A long path that names nothing is nothing to change.
    EXPECT_EQ(WriteTimestampByHandle(file + L"x"), ItemWrite::Missing);
    EXPECT_EQ(g_runStatus, 1);
}

TEST_F(HandleWriter, RefusesWildcardPathsThatCouldLandOnAnotherItem)
{
    std::string other = MakeItem("ab.txt", 0);
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    WriteTimestampByHandle(W(temp.Child("a?.txt")));
    EXPECT_EQ(g_runStatus, 2);
    WriteTimestampByHandle(W(temp.Child("*.txt")));
    EXPECT_EQ(g_runStatus, 3);
    ExpectAllTimes(other, kOldTime);
}

TEST(LocalTime, ConvertsBothWaysAndRefusesImpossibleDates)
{
    SYSTEMTIME local = {};
    local.wYear = 2010;
    local.wMonth = 5;
    local.wDay = 6;
    local.wHour = 12;
    local.wMinute = 34;
    local.wSecond = 31;
    FILETIME utc = {};
    ASSERT_TRUE(LocalTimeToFileTime(local, &utc));
    EXPECT_TRUE(SameTime(utc, UtcOfLocal(2010, 5, 6, 12, 34, 31)));
    SYSTEMTIME back = {};
    ASSERT_TRUE(FileTimeToLocalTime(utc, &back));
    EXPECT_EQ(back.wYear, 2010);
    EXPECT_EQ(back.wDay, 6);
    EXPECT_EQ(back.wHour, 12);
    EXPECT_EQ(back.wSecond, 31);

    local.wMonth = 4;
    local.wDay = 31;
    FILETIME untouched = {0x12345678, 0x9abc};
    EXPECT_FALSE(LocalTimeToFileTime(local, &untouched));
    EXPECT_EQ(untouched.dwLowDateTime, 0x12345678u);
    EXPECT_EQ(untouched.dwHighDateTime, 0x9abcu);
}

// The four are set exactly; every other bit a program can set stays, so that
// a change never starts a download or frees a file of a synced folder. This
// file system keeps only the four, so the rule is checked as it is computed.
TEST(Attributes, TheFourAreSetAndEveryOtherSettableBitKept)
{
    constexpr DWORD kPinned = 0x00080000, kUnpinned = 0x00100000;
    struct Case {
        DWORD current, chosen, expected;
    };
    const Case cases[] = {
        {FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY,
         FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_READONLY},
        {kPinned | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_DIRECTORY, 0, kPinned},
        {kUnpinned | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_SYSTEM,
         kUnpinned | FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_SYSTEM},
        {FILE_ATTRIBUTE_TEMPORARY, kFourAttributes, FILE_ATTRIBUTE_TEMPORARY | kFourAttributes},
        // None left at all: the call must not read zero as "leave them".
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, 0, FILE_ATTRIBUTE_NORMAL},
        // The file system's own bits are never passed on: no call sets them.
        {FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_ENCRYPTED |
             FILE_ATTRIBUTE_SPARSE_FILE,
         FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AttributesWithFour(c.current, c.chosen), c.expected) << std::hex << c.current;
}

}  // namespace
