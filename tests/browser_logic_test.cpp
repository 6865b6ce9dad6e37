// Row texts, icon choice and the drive selector's table: plain logic.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "row_texts.h"
#include "selector_table.h"

namespace {

std::string Size(unsigned long long size)
{
    char text[kSizeTextSize];
    FormatSizeText(size, text);
    return text;
}

TEST(RowTexts, SizeIsRightAlignedInTenCharactersAndShowsAllSixtyFourBits)
{
    EXPECT_EQ(Size(0), "         0");
    EXPECT_EQ(Size(5), "         5");
    EXPECT_EQ(Size(1234567890), "1234567890");
    EXPECT_EQ(Size(4294967295ULL), "4294967295");
    EXPECT_EQ(Size(4294967296ULL), "4294967296");
    EXPECT_EQ(Size(12345678901ULL), "12345678901");
    EXPECT_EQ(Size(18446744073709551615ULL), "18446744073709551615");
}

TEST(RowTexts, AttributeLettersKeepTheirOrder)
{
    char text[kAttributeTextSize];
    FormatAttributeLetters(0x01 | 0x02 | 0x04 | 0x20, text);
    EXPECT_STREQ(text, "RHSA");
    FormatAttributeLetters(0x20 | 0x01, text);
    EXPECT_STREQ(text, "RA");
    FormatAttributeLetters(0x10 | 0x80, text);  // directory, normal: no letter
    EXPECT_STREQ(text, "");
}

TEST(RowTexts, RecycleBinFoldersAreNamedInBothLanguages)
{
    EXPECT_STREQ(FolderTypeText("RECYCLED", 0), "<Recycler>");
    EXPECT_STREQ(FolderTypeText("recycler", 0), "<Recycler>");
    EXPECT_STREQ(FolderTypeText("Recycle", 0), "<Folder>");
    EXPECT_STREQ(FolderTypeText("RecycledX", 0), "<Folder>");
    EXPECT_STREQ(FolderTypeText("Recycled", 1), "<ごみ箱>");
    EXPECT_STREQ(FolderTypeText("Data", 1), "<ﾌｫﾙﾀﾞｰ>");
}

TEST(FolderIcons, RecycledShowsTheBinOfItsWindowsKind)
{
    const FolderIcon expected[8] = {FolderIcon::Recycle9x, FolderIcon::Recycle9x,
                                    FolderIcon::RecycleMe, FolderIcon::Folder,
                                    FolderIcon::RecycleMe, FolderIcon::RecycleXp,
                                    FolderIcon::Folder,    FolderIcon::Folder};
    for (int kind = 0; kind < 8; ++kind) {
        EXPECT_EQ(ChooseFolderIcon("RECYCLED", false, kind), expected[kind]) << "kind " << kind;
        EXPECT_EQ(ChooseFolderIcon("Recycler", false, kind), FolderIcon::Folder) << "kind " << kind;
    }
}

TEST(FolderIcons, MyDocumentsShowsTheDocumentsIconOnlyOnTheWindowsDrive)
{
    const FolderIcon expected[8] = {FolderIcon::Folder,      FolderIcon::Documents9x,
                                    FolderIcon::DocumentsMe, FolderIcon::Folder,
                                    FolderIcon::Folder,      FolderIcon::Folder,
                                    FolderIcon::Documents9x, FolderIcon::Documents9x};
    for (int kind = 0; kind < 8; ++kind) {
        EXPECT_EQ(ChooseFolderIcon("my documents", true, kind), expected[kind]) << "kind " << kind;
        EXPECT_EQ(ChooseFolderIcon("My Documents", false, kind), FolderIcon::Folder) << "kind " << kind;
    }
    EXPECT_EQ(ChooseFolderIcon("Documents", true, 2), FolderIcon::Folder);
}

TEST(RowTexts, PathThatDoesNotFitIsRefusedNotCut)
{
    char out[12];
    EXPECT_TRUE(JoinPathFits("C:\\Dat\\", "abc", out, sizeof out));  // 10 characters
    EXPECT_STREQ(out, "C:\\Dat\\abc");
    EXPECT_TRUE(JoinPathFits("C:\\Dat\\", "abcd", out, sizeof out));  // 11: exactly fits
    EXPECT_FALSE(JoinPathFits("C:\\Dat\\", "abcde", out, sizeof out));
    EXPECT_STREQ(out, "");
}

// ---------------------------------------------------------------- selector table

class SelectorTable : public ::testing::Test {
protected:
    // Drives A:, C: and D:, with C:\ current; drive images are their positions.
    void SetUp() override
    {
        ClearSelectorTable();
        ASSERT_TRUE(AppendSelectorEntry("A:[REMOVABLE-DRIVE]", 0, 0));
        ASSERT_TRUE(AppendSelectorEntry("C:[FIXED-DRIVE]", 0, 1));
        ASSERT_TRUE(AppendSelectorEntry("D:[DATA]", 0, 2));
    }
    void TearDown() override { ClearSelectorTable(); }

    // The table as "text/indent/image" lines, for readable comparisons.
    static std::string Dump()
    {
        std::string out;
        for (int i = 0; i < g_selectorCount; ++i) {
            out += g_selectorText[i];
            out += "/" + std::to_string(g_selectorIndent[i]);
            int image = g_selectorImage[i];
            out += image == kSelectorImageOpen ? "/open"
                   : image == kSelectorImageFolder ? "/folder"
                   : image == kSelectorImageDocumentsMe ? "/docme"
                   : image == kSelectorImageDocuments9x ? "/doc9x"
                   : "/drive" + std::to_string(image);
            out += "\n";
        }
        return out;
    }
};

TEST_F(SelectorTable, DriveTextsFollowTheDriveClass)
{
    char text[kSelectorTextSize];
    ASSERT_TRUE(MakeDriveEntryText('c', 3, "", text));
    EXPECT_STREQ(text, "C:[FIXED-DRIVE]");
    ASSERT_TRUE(MakeDriveEntryText('C', 3, "SYSTEM", text));
    EXPECT_STREQ(text, "C:[SYSTEM]");
    ASSERT_TRUE(MakeDriveEntryText('K', 2, "LABEL", text));
    EXPECT_STREQ(text, "K:[REMOVABLE-DRIVE]");
    ASSERT_TRUE(MakeDriveEntryText('R', 4, nullptr, text));
    EXPECT_STREQ(text, "R:[RAM-DRIVE]");
    ASSERT_TRUE(MakeDriveEntryText('L', 5, "DISC", text));
    EXPECT_STREQ(text, "L:[CD-ROM]");
    ASSERT_TRUE(MakeDriveEntryText('N', 6, "", text));
    EXPECT_STREQ(text, "N:[NETWORK-DRIVE]");
    EXPECT_FALSE(MakeDriveEntryText('Q', 0, "", text));
    EXPECT_FALSE(MakeDriveEntryText('Q', 1, "", text));
}

TEST_F(SelectorTable, NormalizeUpperCasesTheLetterAndKeepsTheRest)
{
    char text[kSelectorTextSize];
    NormalizeDrivePath("c:\\Data\\photos", text);
    EXPECT_STREQ(text, "C:\\Data\\photos");
    NormalizeDrivePath("d:", text);
    EXPECT_STREQ(text, "D:");
}

TEST_F(SelectorTable, EnteringAndLeavingFoldersKeepsTheChainUnderItsDrive)
{
    EXPECT_EQ(PushChainEntry("C:\\Data", "C:\\My Documents", 5), 2);
    EXPECT_EQ(PushChainEntry("C:\\Data\\Photos", "C:\\My Documents", 5), 3);
    EXPECT_EQ(Dump(),
              "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\n"
              "C:\\Data/1/folder\nC:\\Data\\Photos/2/open\nD:[DATA]/0/drive2\n");
    EXPECT_STREQ(SelectorShownText(3), "Photos");
    EXPECT_STREQ(SelectorShownText(1), "C:[FIXED-DRIVE]");

    EXPECT_EQ(PopChainEntry("C:\\Data"), 2);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\n"
                      "C:\\Data/1/open\nD:[DATA]/0/drive2\n");
    EXPECT_EQ(PopChainEntry("C:\\"), 1);
    EXPECT_EQ(g_selectorCount, 3);
    EXPECT_STREQ(g_selectorText[3], "");
    // Nothing more to leave at the root: the drive entry stays.
    EXPECT_EQ(PopChainEntry("C:\\"), -1);
    EXPECT_EQ(g_selectorCount, 3);
}

TEST_F(SelectorTable, AFolderWithBracketsInItsNameIsAFolderNotADrive)
{
    EXPECT_EQ(PushChainEntry("C:\\[old]", "", 5), 2);
    EXPECT_EQ(PushChainEntry("C:\\[old]\\Music [FLAC]", "", 5), 3);
    EXPECT_STREQ(SelectorShownText(2), "[old]");
    EXPECT_STREQ(SelectorShownText(3), "Music [FLAC]");
    EXPECT_EQ(PopChainEntry("C:\\[old]"), 2);
    EXPECT_EQ(g_selectorImage[2], kSelectorImageOpen);
    // Up to the root: the folder's entry goes, the drive's stays.
    EXPECT_EQ(PopChainEntry("C:\\"), 1);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\nD:[DATA]/0/drive2\n");
}

TEST_F(SelectorTable, MyDocumentsAboveTheCurrentFolderShowsTheIconOfTheWindowsKind)
{
    PushChainEntry("C:\\My Documents", "C:\\My Documents", 2);
    PushChainEntry("C:\\My Documents\\Letters", "C:\\My Documents", 2);
    EXPECT_EQ(g_selectorImage[2], kSelectorImageDocumentsMe);
    EXPECT_EQ(g_selectorImage[3], kSelectorImageOpen);
    PopChainEntry("C:\\My Documents");
    EXPECT_EQ(g_selectorImage[2], kSelectorImageOpen);

    ClearSelectorTable();
    AppendSelectorEntry("C:[FIXED-DRIVE]", 0, 0);
    PushChainEntry("C:\\my documents", "C:\\My Documents", 4);
    PushChainEntry("C:\\my documents\\Letters", "C:\\My Documents", 4);
    EXPECT_EQ(g_selectorImage[1], kSelectorImageFolder);
    PushChainEntry("C:\\my documents\\Letters\\Old", "C:\\My Documents", 7);
    EXPECT_EQ(g_selectorImage[2], kSelectorImageFolder);
}

TEST_F(SelectorTable, ChoosingAChainEntryDropsTheDeeperOnes)
{
    PushChainEntry("C:\\Data", "", 5);
    PushChainEntry("C:\\Data\\Photos", "", 5);
    EXPECT_EQ(CutChainBelow(3), 0);  // already the current folder
    EXPECT_EQ(CutChainBelow(2), 1);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\n"
                      "C:\\Data/1/open\nD:[DATA]/0/drive2\n");
    PushChainEntry("C:\\Data\\Photos", "", 5);
    EXPECT_EQ(CutChainBelow(1), 2);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\nD:[DATA]/0/drive2\n");
    EXPECT_EQ(CutChainBelow(1), 0);  // the current drive at its root
}

TEST_F(SelectorTable, ChoosingAnotherDriveDropsTheChainAndShiftsLaterEntries)
{
    PushChainEntry("C:\\Data", "", 5);
    EXPECT_EQ(DropChainFor(3), 2);  // D: moves up by one
    EXPECT_EQ(g_selectorCount, 3);
    PushChainEntry("C:\\Data", "", 5);
    PushChainEntry("C:\\Data\\Photos", "", 5);
    EXPECT_EQ(DropChainFor(0), 0);  // A: lies before the chain
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\nD:[DATA]/0/drive2\n");
    EXPECT_EQ(DropChainFor(2), 2);  // no chain: nothing moves
}

TEST_F(SelectorTable, LookupsTellDrivesByTheirLetter)
{
    PushChainEntry("C:\\Data", "", 5);
    EXPECT_EQ(FindFirstSelectorEntry("C:"), 1);
    EXPECT_EQ(FindLastSelectorEntry("C:"), 2);
    PushChainEntry("C:\\Data\\Photos", "", 5);
    EXPECT_EQ(FindLastSelectorEntry("C:\\Data"), 2);
    EXPECT_EQ(FindLastSelectorEntry("c:\\data\\photos"), 3);
    EXPECT_EQ(FindLastSelectorEntry("C:\\Dat"), -1);
    EXPECT_EQ(FindLastSelectorEntry("E:"), -1);
    // A label that holds another drive's letter does not count as that drive.
    AppendSelectorEntry("P:[C:BACKUP]", 0, 3);
    EXPECT_EQ(FindLastSelectorEntry("C:"), 3);
}

TEST_F(SelectorTable, AFullTableRefusesMoreEntries)
{
    while (g_selectorCount < kSelectorEntries) ASSERT_TRUE(AppendSelectorEntry("C:\\x", 1, 0));
    EXPECT_FALSE(AppendSelectorEntry("C:\\y", 1, 0));
    EXPECT_EQ(PushChainEntry("C:\\x\\y", "", 5), -1);
    EXPECT_EQ(g_selectorCount, kSelectorEntries);
    std::string tooLong(kSelectorTextSize, 'x');
    ClearSelectorTable();
    EXPECT_FALSE(AppendSelectorEntry(tooLong.c_str(), 0, 0));
}

}  // namespace
