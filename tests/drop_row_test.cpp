#include <gtest/gtest.h>

#include <string>

#include "drop_path_table.h"
#include "drop_row.h"
#include "language.h"
#include "test_support.h"

namespace {

struct Split {
    bool ok;
    std::string folder, name;
};

Split SplitOf(const std::string &dropped)
{
    std::wstring folder, name;
    bool ok = SplitDroppedPath(W(dropped), folder, name);
    return {ok, U(folder), U(name)};
}

TEST(DroppedPath, FolderIsTheDroppedPathUpToItsLastSeparator)
{
    struct Case {
        const char *dropped;
        bool ok;
        const char *folder, *name;
    };
    const Case cases[] = {
        {"C:\\Data\\a.txt", true, "C:\\Data", "a.txt"},
        {"C:\\b.txt", true, "C:\\", "b.txt"},
        {"\\\\server\\share\\x", true, "\\\\server\\share", "x"},
        // A name ending in a dot, and one ending in a character whose second
        // Shift-JIS byte is a backslash's, are names like any other.
        {"C:\\Data\\report.", true, "C:\\Data", "report."},
        {"C:\\\xE3\x82\xBD\\\xE8\xA1\xA8", true, "C:\\\xE3\x82\xBD", "\xE8\xA1\xA8"},
        {"a.txt", false, "", ""},
        {"C:\\Data\\", false, "", ""},
        {"C:\\", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case &c : cases) {
        const Split split = SplitOf(c.dropped);
        EXPECT_EQ(split.ok, c.ok) << c.dropped;
        EXPECT_EQ(split.folder, c.folder) << c.dropped;
        EXPECT_EQ(split.name, c.name) << c.dropped;
        if (c.ok) {
            EXPECT_EQ(U(JoinRowPath(W(c.folder), W(c.name))), c.dropped);
        }
    }
}

TEST(RowTexts, SizeAndType)
{
    EXPECT_EQ(FormatSizeText(0), L"         0");
    EXPECT_EQ(FormatSizeText(1234), L"      1234");
    // Files above 4 GiB keep the high word.
    EXPECT_EQ(FormatSizeText((5ull << 32) + 7), L"21474836487");

    int saved = g_japaneseMode;
    g_japaneseMode = 0;
    EXPECT_STREQ(FolderTypeText(), L"<Folder>");
    g_japaneseMode = 1;
    EXPECT_STREQ(FolderTypeText(), L"<ﾌｫﾙﾀﾞｰ>");
    g_japaneseMode = saved;
}

TEST(DropPathTable, RemovingEntriesKeepsTheOthersInRowOrder)
{
    ClearDropPathTable();
    const wchar_t *paths[] = {L"C:\\a", L"C:\\b", L"C:\\c", L"C:\\d"};
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(SetDropPathEntry(i, paths[i]));
    g_dropMarkedRows = 4;
    // Marked from the last row to the first, as Delete Files walks them.
    RemoveDropPathEntry(3, 4);
    RemoveDropPathEntry(1, 4);
    EXPECT_EQ(g_dropRemovedCount, 2);
    EXPECT_EQ(KeptDropPathCount(), 2);
    ASSERT_EQ(g_dropPathTable.size(), 2u);
    EXPECT_EQ(g_dropPathTable[0], L"C:\\a");
    EXPECT_EQ(g_dropPathTable[1], L"C:\\c");
}

TEST(DropPathTable, EntriesHoldWholePathsAndTheTableEndsAtItsRows)
{
    ClearDropPathTable();
    const std::wstring longPath = L"C:\\" + std::wstring(400, L'p');
    EXPECT_TRUE(SetDropPathEntry(0, longPath));
    EXPECT_EQ(g_dropPathTable[0], longPath);
    EXPECT_FALSE(SetDropPathEntry(kDropListMaxRows, L"C:\\a"));
    EXPECT_FALSE(SetDropPathEntry(-1, L"C:\\a"));
    // The last entry can be removed without reading past the table.
    ASSERT_TRUE(SetDropPathEntry(kDropListMaxRows - 1, L"C:\\z"));
    RemoveDropPathEntry(kDropListMaxRows - 1, kDropListMaxRows);
    EXPECT_EQ(g_dropPathTable.size(), static_cast<std::size_t>(kDropListMaxRows - 1));
}

}  // namespace
