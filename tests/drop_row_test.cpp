#include <gtest/gtest.h>

#include <string>

#include "drop_path_table.h"
#include "drop_row.h"
#include "language.h"

namespace {

struct Split {
    bool ok;
    std::string folder, name;
};

Split SplitOf(const char *dropped, LeadByteTest isLead = IsNeverLeadByte)
{
    char folder[kDropPathSize], name[kDropPathSize];
    bool ok = SplitDroppedPath(dropped, folder, name, isLead);
    return {ok, folder, name};
}

std::string Join(const char *folder, const char *name, LeadByteTest isLead = IsNeverLeadByte)
{
    char full[kDropPathSize];
    return JoinRowPath(folder, name, full, isLead) ? std::string(full) : std::string("<refused>");
}

TEST(DroppedPath, FolderIsTheDroppedPathUpToItsLastSeparator)
{
    Split inFolder = SplitOf("C:\\Data\\a.txt");
    EXPECT_TRUE(inFolder.ok);
    EXPECT_EQ(inFolder.folder, "C:\\Data");
    EXPECT_EQ(inFolder.name, "a.txt");

    Split atRoot = SplitOf("C:\\b.txt");
    EXPECT_TRUE(atRoot.ok);
    EXPECT_EQ(atRoot.folder, "C:\\");
    EXPECT_EQ(atRoot.name, "b.txt");

    // A short folder name stays as dropped, whatever the found name's length.
    EXPECT_EQ(SplitOf("C:\\PROGRA~1\\Some Long Name.txt").folder, "C:\\PROGRA~1");
    EXPECT_EQ(SplitOf("\\\\server\\share\\x").folder, "\\\\server\\share");
}

TEST(DroppedPath, PathsWithoutAFolderOrANameAreRefused)
{
    EXPECT_FALSE(SplitOf("a.txt").ok);
    EXPECT_FALSE(SplitOf("C:\\Data\\").ok);
    EXPECT_FALSE(SplitOf("C:\\").ok);
    EXPECT_FALSE(SplitOf("").ok);
    EXPECT_EQ(SplitOf("C:\\Data\\").folder, "");
}

TEST(DroppedPath, ShiftJisTrailBytesAreNotSeparators)
{
    // "ソ" is 0x83 0x5C: its second byte looks like a backslash.
    const char *path = "C:\\\x83\x5C\\a.txt";
    Split split = SplitOf(path, IsShiftJisLeadByte);
    EXPECT_EQ(split.folder, "C:\\\x83\x5C");
    EXPECT_EQ(split.name, "a.txt");
    // A name ending in that character is not cut before it.
    Split trailing = SplitOf("C:\\Data\\\x83\x5C", IsShiftJisLeadByte);
    EXPECT_TRUE(trailing.ok);
    EXPECT_EQ(trailing.name, "\x83\x5C");
    // Joining adds the separator the folder only seems to end with.
    EXPECT_EQ(Join("C:\\\x83\x5C", "a.txt", IsShiftJisLeadByte), "C:\\\x83\x5C\\a.txt");
    EXPECT_FALSE(EndsWithBackslash("C:\\\x83\x5C", IsShiftJisLeadByte));
    EXPECT_TRUE(EndsWithBackslash("C:\\\x83\x5C\\", IsShiftJisLeadByte));
}

TEST(RowPath, JoinsFolderAndNameOnceAndRefusesWhatDoesNotFit)
{
    EXPECT_EQ(Join("C:\\Data", "a.txt"), "C:\\Data\\a.txt");
    EXPECT_EQ(Join("C:\\", "b.txt"), "C:\\b.txt");

    std::string folder = "C:\\" + std::string(200, 'f');
    std::string fits(kDropPathSize - 1 - folder.size() - 1, 'n');
    EXPECT_EQ(Join(folder.c_str(), fits.c_str()).size(), static_cast<size_t>(kDropPathSize - 1));
    std::string tooLong = fits + "x";
    EXPECT_EQ(Join(folder.c_str(), tooLong.c_str()), "<refused>");
}

TEST(RowTexts, SizeTypeAndRoot)
{
    char size[kSizeTextSize];
    FormatSizeText(0, size);
    EXPECT_STREQ(size, "         0");
    FormatSizeText(1234, size);
    EXPECT_STREQ(size, "      1234");
    // Files above 4 GiB keep the high word.
    FormatSizeText((5ull << 32) + 7, size);
    EXPECT_STREQ(size, "21474836487");

    int saved = g_japaneseMode;
    g_japaneseMode = 0;
    EXPECT_STREQ(FolderTypeText(), "<Folder>");
    g_japaneseMode = 1;
    EXPECT_STREQ(FolderTypeText(), "<\xCC\xAB\xD9\xC0\xDE\xB0>");
    g_japaneseMode = saved;

    char root[4];
    RootOfPath("n:\\share\\x", root);
    EXPECT_STREQ(root, "N:\\");
}

TEST(DropPathTable, RemovingEntriesKeepsTheOthersInRowOrder)
{
    ClearDropPathTable();
    const char *paths[] = {"C:\\a", "C:\\b", "C:\\c", "C:\\d"};
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(SetDropPathEntry(i, paths[i]));
    g_dropMarkedRows = 4;
    // Marked from the last row to the first, as Delete Files walks them.
    RemoveDropPathEntry(3, 4);
    RemoveDropPathEntry(1, 4);
    EXPECT_EQ(g_dropRemovedCount, 2);
    EXPECT_EQ(KeptDropPathCount(), 2);
    EXPECT_STREQ(g_dropPathTable[0], "C:\\a");
    EXPECT_STREQ(g_dropPathTable[1], "C:\\c");
    EXPECT_STREQ(g_dropPathTable[2], "");
    EXPECT_STREQ(g_dropPathTable[3], "");
}

TEST(DropPathTable, EntriesNeverHoldACutPath)
{
    ClearDropPathTable();
    std::string longest(kDropPathSize - 1, 'p');
    EXPECT_TRUE(SetDropPathEntry(0, longest.c_str()));
    EXPECT_EQ(std::string(g_dropPathTable[0]), longest);
    std::string tooLong(kDropPathSize, 'p');
    EXPECT_FALSE(SetDropPathEntry(1, tooLong.c_str()));
    EXPECT_STREQ(g_dropPathTable[1], "");
    EXPECT_FALSE(SetDropPathEntry(kDropListMaxRows, "C:\\a"));
    // The last entry can be removed without reading past the table.
    ASSERT_TRUE(SetDropPathEntry(kDropListMaxRows - 1, "C:\\z"));
    RemoveDropPathEntry(kDropListMaxRows - 1, kDropListMaxRows);
    EXPECT_STREQ(g_dropPathTable[kDropListMaxRows - 1], "");
}

}  // namespace
