// Row texts, icon choice and the drive selector's table: plain logic.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "row_texts.h"
#include "selector_table.h"
#include "path_text.h"
#include "test_support.h"

namespace {

std::string Size(unsigned long long size) { return U(FormatSizeText(size)); }

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
    EXPECT_EQ(FormatAttributeLetters(0x01 | 0x02 | 0x04 | 0x20), L"RHSA");
    EXPECT_EQ(FormatAttributeLetters(0x20 | 0x01), L"RA");
    EXPECT_EQ(FormatAttributeLetters(0x10 | 0x80), L"");  // directory, normal: no letter
}

TEST(RowTexts, RecycleBinFoldersAreNamedInBothLanguages)
{
    EXPECT_STREQ(FolderTypeText(L"RECYCLED", 0), L"<Recycler>");
    EXPECT_STREQ(FolderTypeText(L"recycler", 0), L"<Recycler>");
    EXPECT_STREQ(FolderTypeText(L"Recycle", 0), L"<Folder>");
    EXPECT_STREQ(FolderTypeText(L"RecycledX", 0), L"<Folder>");
    EXPECT_STREQ(FolderTypeText(L"Recycled", 1), L"<ごみ箱>");
    EXPECT_STREQ(FolderTypeText(L"Data", 1), L"<ﾌｫﾙﾀﾞｰ>");
}

TEST(FolderIcons, RecycledShowsTheBinOfItsWindowsKind)
{
    const FolderIcon expected[8] = {FolderIcon::Recycle9x, FolderIcon::Recycle9x,
                                    FolderIcon::RecycleMe, FolderIcon::Folder,
                                    FolderIcon::RecycleMe, FolderIcon::RecycleXp,
                                    FolderIcon::Folder,    FolderIcon::Folder};
    for (int kind = 0; kind < 8; ++kind) {
        EXPECT_EQ(ChooseFolderIcon(L"RECYCLED", false, kind), expected[kind]) << "kind " << kind;
        EXPECT_EQ(ChooseFolderIcon(L"Recycler", false, kind), FolderIcon::Folder) << "kind " << kind;
    }
}

TEST(FolderIcons, MyDocumentsShowsTheDocumentsIconOnlyOnTheWindowsDrive)
{
    const FolderIcon expected[8] = {FolderIcon::Folder,      FolderIcon::Documents9x,
                                    FolderIcon::DocumentsMe, FolderIcon::Folder,
                                    FolderIcon::Folder,      FolderIcon::Folder,
                                    FolderIcon::Documents9x, FolderIcon::Documents9x};
    for (int kind = 0; kind < 8; ++kind) {
        EXPECT_EQ(ChooseFolderIcon(L"my documents", true, kind), expected[kind]) << "kind " << kind;
        EXPECT_EQ(ChooseFolderIcon(L"My Documents", false, kind), FolderIcon::Folder) << "kind " << kind;
    }
    EXPECT_EQ(ChooseFolderIcon(L"Documents", true, 2), FolderIcon::Folder);
}

// ---------------------------------------------------------------- selector table

class SelectorTable : public ::testing::Test {
protected:
    // Drives A:, C: and D:, with C:\ current; drive images are their positions.
    void SetUp() override
    {
        ClearSelectorTable();
        AppendSelectorEntry(L"A:[REMOVABLE-DRIVE]", 0, 0);
        AppendSelectorEntry(L"C:[FIXED-DRIVE]", 0, 1);
        AppendSelectorEntry(L"D:[DATA]", 0, 2);
    }
    void TearDown() override { ClearSelectorTable(); }

    // The table as "text/indent/image" lines, for readable comparisons.
    static std::string Dump()
    {
        std::string out;
        for (const SelectorEntry &entry : g_selector) {
            out += U(entry.text);
            out += "/" + std::to_string(entry.indent);
            int image = entry.image;
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
    EXPECT_EQ(MakeDriveEntryText(L'c', 3, L""), L"C:[FIXED-DRIVE]");
    EXPECT_EQ(MakeDriveEntryText(L'C', 3, L"SYSTEM"), L"C:[SYSTEM]");
    EXPECT_EQ(MakeDriveEntryText(L'K', 2, L"LABEL"), L"K:[REMOVABLE-DRIVE]");
    EXPECT_EQ(MakeDriveEntryText(L'R', 4, L""), L"R:[RAM-DRIVE]");
    EXPECT_EQ(MakeDriveEntryText(L'L', 5, L"DISC"), L"L:[CD-ROM]");
    EXPECT_EQ(MakeDriveEntryText(L'N', 6, L""), L"N:[NETWORK-DRIVE]");
    EXPECT_EQ(MakeDriveEntryText(L'Q', 0, L""), L"");
    EXPECT_EQ(MakeDriveEntryText(L'Q', 1, L""), L"");
}

TEST_F(SelectorTable, NormalizeUpperCasesTheLetterAndKeepsTheRest)
{
    EXPECT_EQ(NormalizeDrivePath(L"c:\\Data\\photos"), L"C:\\Data\\photos");
    EXPECT_EQ(NormalizeDrivePath(L"d:"), L"D:");
}

TEST_F(SelectorTable, EnteringAndLeavingFoldersKeepsTheChainUnderItsDrive)
{
    EXPECT_EQ(PushChainEntry(L"C:\\Data", L"C:\\My Documents", 5), 2);
    EXPECT_EQ(PushChainEntry(L"C:\\Data\\Photos", L"C:\\My Documents", 5), 3);
    EXPECT_EQ(Dump(),
              "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\n"
              "C:\\Data/1/folder\nC:\\Data\\Photos/2/open\nD:[DATA]/0/drive2\n");
    EXPECT_EQ(SelectorShownText(3), L"Photos");
    EXPECT_EQ(SelectorShownText(1), L"C:[FIXED-DRIVE]");

    EXPECT_EQ(PopChainEntry(L"C:\\Data"), 2);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\n"
                      "C:\\Data/1/open\nD:[DATA]/0/drive2\n");
    EXPECT_EQ(PopChainEntry(L"C:\\"), 1);
    EXPECT_EQ(g_selector.size(), 3u);
    // Nothing more to leave at the root: the drive entry stays.
    EXPECT_EQ(PopChainEntry(L"C:\\"), -1);
    EXPECT_EQ(g_selector.size(), 3u);
}

TEST_F(SelectorTable, AFolderWithBracketsInItsNameIsAFolderNotADrive)
{
    EXPECT_EQ(PushChainEntry(L"C:\\[old]", L"", 5), 2);
    EXPECT_EQ(PushChainEntry(L"C:\\[old]\\Music [FLAC]", L"", 5), 3);
    EXPECT_EQ(SelectorShownText(2), L"[old]");
    EXPECT_EQ(SelectorShownText(3), L"Music [FLAC]");
    EXPECT_EQ(PopChainEntry(L"C:\\[old]"), 2);
    EXPECT_EQ(g_selector[2].image, kSelectorImageOpen);
    // Up to the root: the folder's entry goes, the drive's stays.
    EXPECT_EQ(PopChainEntry(L"C:\\"), 1);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\nD:[DATA]/0/drive2\n");
}

TEST_F(SelectorTable, MyDocumentsAboveTheCurrentFolderShowsTheIconOfTheWindowsKind)
{
    PushChainEntry(L"C:\\My Documents", L"C:\\My Documents", 2);
    PushChainEntry(L"C:\\My Documents\\Letters", L"C:\\My Documents", 2);
    EXPECT_EQ(g_selector[2].image, kSelectorImageDocumentsMe);
    EXPECT_EQ(g_selector[3].image, kSelectorImageOpen);
    PopChainEntry(L"C:\\My Documents");
    EXPECT_EQ(g_selector[2].image, kSelectorImageOpen);

    ClearSelectorTable();
    AppendSelectorEntry(L"C:[FIXED-DRIVE]", 0, 0);
    PushChainEntry(L"C:\\my documents", L"C:\\My Documents", 4);
    PushChainEntry(L"C:\\my documents\\Letters", L"C:\\My Documents", 4);
    EXPECT_EQ(g_selector[1].image, kSelectorImageFolder);
    PushChainEntry(L"C:\\my documents\\Letters\\Old", L"C:\\My Documents", 7);
    EXPECT_EQ(g_selector[2].image, kSelectorImageFolder);
}

TEST_F(SelectorTable, ChoosingAChainEntryDropsTheDeeperOnes)
{
    PushChainEntry(L"C:\\Data", L"", 5);
    PushChainEntry(L"C:\\Data\\Photos", L"", 5);
    EXPECT_EQ(CutChainBelow(3), 0);  // already the current folder
    EXPECT_EQ(CutChainBelow(2), 1);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\n"
                      "C:\\Data/1/open\nD:[DATA]/0/drive2\n");
    PushChainEntry(L"C:\\Data\\Photos", L"", 5);
    EXPECT_EQ(CutChainBelow(1), 2);
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\nD:[DATA]/0/drive2\n");
    EXPECT_EQ(CutChainBelow(1), 0);  // the current drive at its root
}

TEST_F(SelectorTable, ChoosingAnotherDriveDropsTheChainAndShiftsLaterEntries)
{
    PushChainEntry(L"C:\\Data", L"", 5);
    EXPECT_EQ(DropChainFor(3), 2);  // D: moves up by one
    EXPECT_EQ(g_selector.size(), 3u);
    PushChainEntry(L"C:\\Data", L"", 5);
    PushChainEntry(L"C:\\Data\\Photos", L"", 5);
    EXPECT_EQ(DropChainFor(0), 0);  // A: lies before the chain
    EXPECT_EQ(Dump(), "A:[REMOVABLE-DRIVE]/0/drive0\nC:[FIXED-DRIVE]/0/drive1\nD:[DATA]/0/drive2\n");
    EXPECT_EQ(DropChainFor(2), 2);  // no chain: nothing moves
}

TEST_F(SelectorTable, LookupsTellDrivesByTheirLetter)
{
    PushChainEntry(L"C:\\Data", L"", 5);
    EXPECT_EQ(FindFirstSelectorEntry(L"C:"), 1);
    EXPECT_EQ(FindLastSelectorEntry(L"C:"), 2);
    PushChainEntry(L"C:\\Data\\Photos", L"", 5);
    EXPECT_EQ(FindLastSelectorEntry(L"C:\\Data"), 2);
    EXPECT_EQ(FindLastSelectorEntry(L"c:\\data\\photos"), 3);
    EXPECT_EQ(FindLastSelectorEntry(L"C:\\Dat"), -1);
    EXPECT_EQ(FindLastSelectorEntry(L"E:"), -1);
    // A label that holds another drive's letter does not count as that drive.
    AppendSelectorEntry(L"P:[C:BACKUP]", 0, 3);
    EXPECT_EQ(FindLastSelectorEntry(L"C:"), 3);
}

TEST_F(SelectorTable, AChainAsDeepAsALongPathKeepsEveryFolder)
{
    std::wstring folder = L"C:";
    for (int level = 1; level <= 250; ++level) {
        folder += L"\\f";
        ASSERT_EQ(PushChainEntry(folder, L"", 5), 1 + level);
    }
    EXPECT_EQ(g_selector.size(), 253u);
    EXPECT_EQ(g_selector[251].indent, 250);
    EXPECT_EQ(PopChainEntry(ParentOf(folder)), 250);
}

}  // namespace
