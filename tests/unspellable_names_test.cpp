// Names the code page cannot spell, across the walks, the folder list, the
// letter and attribute changes and the rebuild of a folder: every entry is
// reached through a name of its own (its short name when the code page cannot
// spell the long one), never through a look-alike that names another item.
// Everything is made and read back through the wide functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "attributes.h"
#include "attribute_change.h"
#include "browser_windows.h"
#include "folder_list.h"
#include "language.h"
#include "letter_change.h"
#include "platform_seams.h"
#include "recreate_writer.h"
#include "selector_table.h"
#include "simulated_clock.h"
#include "subtree_walk.h"
#include "target_time.h"
#include "test_support.h"
#include "timestamp_items.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

std::wstring Wide(const std::string &ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::string Narrow(const std::wstring &wide)
{
    char text[520] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text, sizeof text - 1, nullptr, nullptr);
    return text;
}

// A file of `size` bytes, so that each one is told apart from the others.
bool MakeWideFile(const std::wstring &path, DWORD size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes(size, 'x');
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

bool StampWide(const std::wstring &path, const FILETIME &when)
{
    HANDLE item = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (item == INVALID_HANDLE_VALUE) return false;
    const bool ok = SetFileTime(item, &when, &when, &when) != FALSE;
    CloseHandle(item);
    return ok;
}

WIN32_FILE_ATTRIBUTE_DATA ReadWide(const std::wstring &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) << Narrow(path);
    return data;
}

// Every name below folder (relative, wide) with its size: the tree as kept.
std::map<std::wstring, DWORD> WideTree(const std::wstring &folder, const std::wstring &prefix = L"")
{
    std::map<std::wstring, DWORD> tree;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return tree;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        tree[prefix + name] = found.nFileSizeLow;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            for (const auto &inner : WideTree(folder + L"\\" + name, prefix + name + L"\\"))
                tree.insert(inner);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return tree;
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

ULONGLONG FileIndexOf(const std::wstring &path)
{
    HANDLE item = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info = {};
    EXPECT_NE(item, INVALID_HANDLE_VALUE) << Narrow(path);
    if (item != INVALID_HANDLE_VALUE) {
        GetFileInformationByHandle(item, &info);
        CloseHandle(item);
    }
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

const char *NoShortName(const WIN32_FIND_DATAA &) { return ""; }

struct Entry {
    std::wstring name;
    DWORD size;
    bool spellable;  // in the code page of this run, without a look-alike
};

class UnspellableNames : public ::testing::Test {
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
    }
    void TearDown() override { std::memcpy(g_targetTime, savedTarget_, sizeof savedTarget_); }

    // "Mixed" holding the entries, each with its own size and the old time.
    void MakeMixed(const std::vector<Entry> &entries)
    {
        mixed_ = Wide(temp.Child("Mixed"));
        entries_ = entries;
        ASSERT_TRUE(CreateDirectoryW(mixed_.c_str(), nullptr));
        for (const Entry &entry : entries) {
            const std::wstring path = mixed_ + L"\\" + entry.name;
            if (entry.size == 0)
                ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr)) << Narrow(entry.name);
            else
                ASSERT_TRUE(MakeWideFile(path, entry.size)) << Narrow(entry.name);
        }
        for (const Entry &entry : entries) ASSERT_TRUE(StampWide(mixed_ + L"\\" + entry.name, old_));
    }
    std::wstring PathOf(const Entry &entry) const { return mixed_ + L"\\" + entry.name; }

    // Each entry had its times written exactly once, and read back through
    // the wide functions they are the target's.
    void ExpectEachChangedOnce(bool shortNamesKept)
    {
        for (const Entry &entry : entries_) {
            const bool reachable = entry.spellable || shortNamesKept;
            EXPECT_EQ(g_writesPerItem[FileIndexOf(PathOf(entry))], reachable ? 1 : 0)
                << Narrow(entry.name);
            const WIN32_FILE_ATTRIBUTE_DATA data = ReadWide(PathOf(entry));
            EXPECT_TRUE(SameTime(data.ftLastWriteTime, reachable ? target_ : old_)) << Narrow(entry.name);
            EXPECT_TRUE(SameTime(data.ftCreationTime, reachable ? target_ : old_)) << Narrow(entry.name);
            EXPECT_EQ(data.nFileSizeLow, entry.size) << Narrow(entry.name);
        }
    }

    IntGuard kind{g_windowsKind};
    IntGuard language{g_japaneseMode};
    IntGuard ntfs{g_ntfsVolume};
    SeamGuard seams;
    TempFolder temp;
    std::wstring mixed_;
    std::vector<Entry> entries_;
    FILETIME old_ = {}, target_ = {};
    TimeFields savedTarget_;
};

// Under code page 1252: Japanese names, an emoji, "a" with a macron (which
// the ANSI calls would give as "a.txt") and a folder of such names; "café"
// is spelled by 1252 and is the control.
std::vector<Entry> Mixed1252()
{
    return {{L"a.txt", 1, true},
            {L"b.txt", 2, true},
            {L"\u65e5.txt", 3, false},
            {L"\u5199\u771f\U0001F389.jpg", 4, false},
            {L"caf\u00e9.txt", 5, true},
            {L"\u0101.txt", 6, false},
            {L"\u5199\u771f", 0, false},
            {L"\u5199\u771f\\x.txt", 7, true},
            {L"\u5199\u771f\\\u65e5.txt", 8, false}};
}

class CodePage1252 : public UnspellableNames {
protected:
    void SetUp() override
    {
        if (GetACP() != 1252) GTEST_SKIP() << "runs under code page 1252 only";
        UnspellableNames::SetUp();
        MakeMixed(Mixed1252());
    }
};

TEST_F(CodePage1252, TheTimestampWalkChangesEachEntryExactlyOnce)
{
    ChangeSubtreeTimestamps(nullptr, Narrow(mixed_).c_str(), 0);
    EXPECT_EQ(g_runStatus, 1);
    ExpectEachChangedOnce(true);
}

TEST_F(CodePage1252, WithoutShortNamesTheWalkCountsFailuresAndChangesNothingInTheirPlace)
{
    g_platform.shortName = NoShortName;
    ChangeSubtreeTimestamps(nullptr, Narrow(mixed_).c_str(), 0);
    // 日.txt, 写真🎉.jpg, ā.txt and the folder 写真: one failure each; what
    // the folder holds is never reached.
    EXPECT_EQ(g_runStatus, 1 + 4);
    for (const Entry &entry : entries_) {
        const bool inside = entry.name.find(L'\\') != std::wstring::npos;
        const bool changed = entry.spellable && !inside;
        EXPECT_EQ(g_writesPerItem[FileIndexOf(PathOf(entry))], changed ? 1 : 0) << Narrow(entry.name);
        EXPECT_TRUE(SameTime(ReadWide(PathOf(entry)).ftLastWriteTime, changed ? target_ : old_))
            << Narrow(entry.name);
    }
}

TEST_F(CodePage1252, TheFolderListShowsOneRowPerEntryAndAShortNameRowChangesThatItem)
{
    BrowserWindows windows(false);
    ASSERT_TRUE(windows.Ready());
    ShowFolder(Narrow(mixed_));
    std::vector<std::string> names = RowNames();
    EXPECT_EQ(names.size(), 7u);  // the six files and the folder
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    int dayRow = -1;
    for (int row = 0; row < RowCount(); ++row) {
        EXPECT_EQ(RowText(row, 0).find_first_of("?*"), std::string::npos) << RowText(row, 0);
        char path[kPathSize];
        ASSERT_TRUE(ReadRowFullPath(row, path)) << row;
        wchar_t longForm[MAX_PATH] = {};
        wchar_t widePath[MAX_PATH] = {};
        ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH), 0);
        ASSERT_GT(GetLongPathNameW(widePath, longForm, MAX_PATH), 0u) << path;
        if (std::wstring(longForm) == mixed_ + L"\\\u65e5.txt") dayRow = row;
    }
    ASSERT_GE(dayRow, 0);
    EXPECT_EQ(RowText(dayRow, 1), "         3");
    SelectRows({dayRow});
    char path[kPathSize];
    ASSERT_TRUE(ReadRowFullPath(dayRow, path));
    ChangeItemTimestamp(nullptr, path, 0);
    EXPECT_EQ(g_runStatus, 1);
    for (const Entry &entry : entries_) {
        const bool isDay = entry.name == L"\u65e5.txt";
        EXPECT_EQ(g_writesPerItem[FileIndexOf(PathOf(entry))], isDay ? 1 : 0) << Narrow(entry.name);
        EXPECT_TRUE(SameTime(ReadWide(PathOf(entry)).ftLastWriteTime, isDay ? target_ : old_))
            << Narrow(entry.name);
    }
}

TEST_F(CodePage1252, TheAttributeWalkTouchesEachEntryThroughItsOwnName)
{
    IntGuard readOnly{g_attrReadOnly}, hidden{g_attrHidden}, system{g_attrSystem},
        archive{g_attrArchive};
    g_attrReadOnly = 1;
    g_attrHidden = 0;
    g_attrSystem = 0;
    g_attrArchive = 0;
    ChangeSubtreeAttributes(Narrow(mixed_).c_str());
    for (const Entry &entry : entries_) {
        if (entry.size == 0) continue;
        EXPECT_NE(ReadWide(PathOf(entry)).dwFileAttributes & FILE_ATTRIBUTE_READONLY, 0u)
            << Narrow(entry.name);
    }
    // Without short names the unspellable entries keep theirs.
    for (const Entry &entry : entries_) SetFileAttributesW(PathOf(entry).c_str(), FILE_ATTRIBUTE_ARCHIVE);
    g_platform.shortName = NoShortName;
    ChangeSubtreeAttributes(Narrow(mixed_).c_str());
    for (const Entry &entry : entries_) {
        if (entry.size == 0) continue;
        const bool reached = entry.spellable && entry.name.find(L'\\') == std::wstring::npos;
        EXPECT_EQ((ReadWide(PathOf(entry)).dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0, reached)
            << Narrow(entry.name);
    }
}

TEST_F(CodePage1252, TheLetterWalkLeavesNamesReachedByShortNameAsTheyWere)
{
    IntGuard caseMode{g_caseMode};
    g_caseMode = 1;
    const std::map<std::wstring, DWORD> before = WideTree(mixed_);
    ChangeSubtreeLetters(Narrow(mixed_).c_str());
    std::map<std::wstring, DWORD> expected;
    for (const auto &entry : before) {
        std::wstring name = entry.first;
        if (name == L"a.txt") name = L"A.TXT";
        if (name == L"b.txt") name = L"B.TXT";
        if (name == L"caf\u00e9.txt") name = L"CAF\u00c9.TXT";
        if (name == L"\u5199\u771f\\x.txt") name = L"\u5199\u771f\\X.TXT";
        expected[name] = entry.second;
    }
    EXPECT_TRUE(WideTree(mixed_) == expected);
    for (const Entry &entry : entries_) {
        if (entry.spellable) continue;
        EXPECT_NE(GetFileAttributesW(PathOf(entry).c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(entry.name);
    }
}

TEST_F(CodePage1252, TheRebuildKeepsEveryEntryUnderItsOwnName)
{
    UseSimulatedClock();
    g_ntfsVolume = 0;
    const std::map<std::wstring, DWORD> before = WideTree(mixed_);
    WriteTimestampByRecreate(nullptr, Narrow(mixed_).c_str());
    EXPECT_EQ(g_runStatus, 1);
    EXPECT_EQ(g_simulatedClock.created, std::vector<std::string>{Narrow(mixed_)});
    EXPECT_TRUE(WideTree(mixed_) == before);
    EXPECT_EQ(GetFileAttributesA(temp.Child("!!!").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CodePage1252, AFolderReachedByItsShortNameIsRebuiltUnderItsOwnName)
{
    UseSimulatedClock();
    g_ntfsVolume = 0;
    const std::wstring folder = mixed_ + L"\\\u5199\u771f";
    wchar_t shortForm[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(folder.c_str(), shortForm, MAX_PATH), 0u);
    const std::map<std::wstring, DWORD> before = WideTree(mixed_);
    WriteTimestampByRecreate(nullptr, Narrow(shortForm).c_str());
    EXPECT_EQ(g_runStatus, 1);
    ASSERT_EQ(g_simulatedClock.created.size(), 1u);
    // The same names as before, the folder's own long one among them.
    EXPECT_TRUE(WideTree(mixed_) == before);
}

TEST_F(CodePage1252, WithoutShortNamesTheRebuildRefusesTheFolderWithNothingMoved)
{
    UseSimulatedClock();
    g_ntfsVolume = 0;
    g_platform.shortName = NoShortName;
    const std::map<std::wstring, DWORD> before = WideTree(mixed_);
    const FILETIME createdBefore = ReadWide(mixed_).ftCreationTime;
    WriteTimestampByRecreate(nullptr, Narrow(mixed_).c_str());
    EXPECT_EQ(g_runStatus, 2);
    EXPECT_TRUE(g_simulatedClock.setValues.empty());
    EXPECT_TRUE(g_simulatedClock.created.empty());
    EXPECT_TRUE(WideTree(mixed_) == before);
    EXPECT_TRUE(SameTime(ReadWide(mixed_).ftCreationTime, createdBefore));
    EXPECT_EQ(GetFileAttributesA(temp.Child("!!!").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Under code page 932 "é" and "ü" have no byte: "café.txt" and "ü" go by
// their short names, never as "cafe.txt" or "u", which exist beside them.
TEST_F(UnspellableNames, CodePage932NamesWithoutAByteGoByTheirShortNames)
{
    if (GetACP() != 932) GTEST_SKIP() << "runs under code page 932 only";
    mixed_ = Wide(temp.Child("Mixed"));
    ASSERT_TRUE(CreateDirectoryW(mixed_.c_str(), nullptr));
    if (!MakeWideFile(mixed_ + L"\\caf\u00e9.txt", 5))
        GTEST_SKIP() << "the host's file names cannot hold the name under this locale";
    DeleteFileW((mixed_ + L"\\caf\u00e9.txt").c_str());
    RemoveDirectoryW(mixed_.c_str());
    MakeMixed({{L"cafe.txt", 1, true},
               {L"u", 2, true},
               {L"caf\u00e9.txt", 3, false},
               {L"\u00fc", 4, false},
               {L"\u65e5.txt", 5, true}});
    ChangeSubtreeTimestamps(nullptr, Narrow(mixed_).c_str(), 0);
    EXPECT_EQ(g_runStatus, 1);
    ExpectEachChangedOnce(true);

    g_writesPerItem.clear();
    for (const Entry &entry : entries_) ASSERT_TRUE(StampWide(PathOf(entry), old_));
    g_platform.shortName = NoShortName;
    ChangeSubtreeTimestamps(nullptr, Narrow(mixed_).c_str(), 0);
    EXPECT_EQ(g_runStatus, 1 + 2);
    ExpectEachChangedOnce(false);
}

// In code page 932 the second byte of "表" is 0x5C, a backslash: a folder
// whose name ends in it must not be taken for one that ends in a separator.
TEST_F(UnspellableNames, CodePage932AFolderNameEndingInByte5CIsListedAndWalkedInside)
{
    if (GetACP() != 932) GTEST_SKIP() << "runs under code page 932 only";
    const std::wstring base = Wide(temp.Path());
    const std::wstring folder = base + L"\\\u4e00\u89a7\u8868";  // 一覧表
    const std::wstring inside = folder + L"\\a.txt";
    const std::wstring sibling = folder + L"\u30e1\u30e2.txt";  // 一覧表メモ.txt
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    if (!MakeWideFile(inside, 1) || !MakeWideFile(sibling, 2))
        GTEST_SKIP() << "the host's file names cannot hold the name under this locale";
    const std::string narrow = Narrow(folder);
    ASSERT_EQ(narrow.back(), '\\') << "the name should end in the byte 0x5C";
    for (const std::wstring &path : {folder, inside, sibling}) ASSERT_TRUE(StampWide(path, old_));

    std::vector<std::string> visited;
    WalkSubtree(
        narrow.c_str(), "",
        [&](const char *entry, bool) {
            visited.push_back(entry);
            return true;
        },
        [](const char *, const char *) { return true; }, WalkOrder::ContentsFirst);
    EXPECT_EQ(visited, std::vector<std::string>{Narrow(inside)});

    ChangeSubtreeTimestamps(nullptr, narrow.c_str(), 0);
    EXPECT_EQ(g_runStatus, 1);
    EXPECT_TRUE(SameTime(ReadWide(inside).ftLastWriteTime, target_));
    EXPECT_TRUE(SameTime(ReadWide(sibling).ftLastWriteTime, old_)) << "a sibling was changed";

    BrowserWindows windows(false);
    ASSERT_TRUE(windows.Ready());
    ShowFolder(narrow);
    EXPECT_EQ(RowNames(), std::vector<std::string>{"a.txt"});
    ClearSelectorTable();
    char drive[kSelectorTextSize];
    ASSERT_TRUE(MakeDriveEntryText(narrow[0], 3, "", drive));
    ASSERT_TRUE(AppendSelectorEntry(drive, 0, 0));
    ASSERT_EQ(PushChainEntry(narrow.c_str(), "", 5), 1);
    EXPECT_EQ(std::string(SelectorShownText(1)), Narrow(L"\u4e00\u89a7\u8868"));
    ClearSelectorTable();
}

}  // namespace
