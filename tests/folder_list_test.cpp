// The folder list on real folders in the test's own temporary folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <set>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "attributes.h"
#include "browser_windows.h"
#include "date_time_selector.h"
#include "labels_layout.h"
#include "target_time.h"
#include "folder_list.h"
#include "row_texts.h"
#include "language.h"
#include "temp_tree.h"
#include "test_support.h"

namespace {

class FolderList : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        ASSERT_TRUE(windows.Ready());
    }
    std::string Make(const std::string &name) { return temp.Child(name); }

    IntGuard language{g_japaneseMode};
    IntGuard kind{g_windowsKind};
    TempFolder temp;
    BrowserWindows windows{false};
};

TEST_F(FolderList, FoldersComeFirstAndEachGroupIsSortedAsTheSystemCompares)
{
    for (const char *name : {"zeta", "Alpha"}) ASSERT_TRUE(CreateDirectoryA(Make(name).c_str(), nullptr));
    for (const char *name : {"Banana.txt", "apple.txt", "_under.txt", "cherry.txt"})
        ASSERT_TRUE(MakeFile(Make(name)));
    ShowFolder(temp.Path());

    // Not byte order, which would put "Banana.txt" first and "_under.txt" after it.
    std::vector<std::string> expected = {"Alpha",     "zeta",       "_under.txt",
                                         "apple.txt", "Banana.txt", "cherry.txt"};
    EXPECT_EQ(RowNames(), expected);
}

TEST_F(FolderList, RowsShowSizeTypeTimeAndAttributeLetters)
{
    g_japaneseMode = 0;
    ASSERT_TRUE(CreateDirectoryA(Make("Data").c_str(), nullptr));
    ASSERT_TRUE(MakeFileOfSize(Make("empty.txt"), 0));
    ASSERT_TRUE(MakeFileOfSize(Make("five.txt"), 5));
    ASSERT_TRUE(MakeFileOfSize(Make("flags.txt"), 1));
    ASSERT_TRUE(StampItem(Make("five.txt"), UtcOfLocal(2010, 5, 6, 12, 34, 31)));
    ASSERT_TRUE(SetFileAttributesA(Make("flags.txt").c_str(),
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                       FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(SetFileAttributesA(Make("Data").c_str(), FILE_ATTRIBUTE_DIRECTORY));
    ShowFolder(temp.Path());

    ASSERT_EQ(RowNames(), (std::vector<std::string>{"Data", "empty.txt", "five.txt", "flags.txt"}));
    EXPECT_EQ(RowText(0, 1), "");
    EXPECT_EQ(RowText(0, 2), "<Folder>");
    EXPECT_EQ(RowText(0, 4), "");
    EXPECT_EQ(RowText(1, 1), "         0");
    EXPECT_EQ(RowText(1, 2), "");
    EXPECT_EQ(RowText(2, 1), "         5");
    EXPECT_EQ(RowText(2, 3), "05/06/2010  12:34:31");
    EXPECT_EQ(RowText(3, 4), "RHSA");

    g_japaneseMode = 1;
    ShowFolder(temp.Path());
    EXPECT_EQ(RowText(0, 2), "<ﾌｫﾙﾀﾞｰ>");
    EXPECT_EQ(RowText(2, 3), "2010/05/06  12:34:31");
    SetFileAttributesA(Make("flags.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderList, SizeShowsAllSixtyFourBits)
{
    // A sparse file of exactly 4 GiB costs no disk space where the file system allows it.
    HANDLE h = CreateFileA(Make("big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 4294967296LL;
    bool grown = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    if (!grown) GTEST_SKIP() << "no 4 GiB file here; the size text is tested on its own";
    ShowFolder(temp.Path());
    ASSERT_EQ(RowCount(), 1);
    EXPECT_EQ(RowText(0, 1), "4294967296");
}

TEST_F(FolderList, RecycleBinFoldersAreNamedAndCannotBeEntered)
{
    g_japaneseMode = 0;
    for (const char *name : {"RECYCLED", "Recycler"}) ASSERT_TRUE(CreateDirectoryA(Make(name).c_str(), nullptr));
    ShowFolder(temp.Path());
    ASSERT_EQ(RowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(RowText(row, 2), "<Recycler>");
        SelectRows({row});
        EnterSelectedFolder();
        EXPECT_EQ(U(g_currentFolder), temp.Path());
        EXPECT_EQ(CurrentDirectory(), temp.Path());
    }
}

TEST_F(FolderList, EnterAndGoUpMoveTheListAndTheCurrentDirectoryTogether)
{
    ASSERT_TRUE(CreateDirectoryA(Make("sub").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(Make("sub\\inner").c_str(), nullptr));
    ASSERT_TRUE(MakeFile(Make("file.txt")));
    ShowFolder(temp.Path());

    // Nothing happens for a file, for no selection or for two selected rows.
    for (const std::vector<int> &rows : {std::vector<int>{1}, std::vector<int>{}, std::vector<int>{0, 1}}) {
        SelectRows(rows);
        EnterSelectedFolder();
        EXPECT_EQ(U(g_currentFolder), temp.Path());
        EXPECT_EQ(RowCount(), 2);
    }

    SelectRows({0});
    EnterSelectedFolder();
    EXPECT_EQ(U(g_currentFolder), Make("sub"));
    EXPECT_EQ(CurrentDirectory(), Make("sub"));
    EXPECT_EQ(RowNames(), std::vector<std::string>{"inner"});

    EXPECT_EQ(U(ReadRowFullPath(0)), Make("sub\\inner"));

    GoUpOneLevel();
    EXPECT_EQ(U(g_currentFolder), temp.Path());
    EXPECT_EQ(CurrentDirectory(), temp.Path());
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"sub", "file.txt"}));
}

// The keyboard's row: LVNI_FOCUSED, and whether it is selected.
int FocusedRow() { return static_cast<int>(SendMessageW(g_hFolderList, LVM_GETNEXTITEM, -1, LVNI_FOCUSED)); }

TEST_F(FolderList, EnterOpensARowsFolderUpFocusesTheFolderLeftAndRefreshKeepsTheFocusedRow)
{
    for (const char *name : {"early", "sub", "sub\\inner", "sub\\other"})
        ASSERT_TRUE(CreateDirectoryA(Make(name).c_str(), nullptr));
    ASSERT_TRUE(MakeFile(Make("file.txt")));
    ShowFolder(temp.Path());
    ASSERT_EQ(RowNames(), (std::vector<std::string>{"early", "sub", "file.txt"}));

    // Enter on the selected folder row, as the list view reports it; the
    // arrow keys that picked the row gave it the keyboard's focus as well.
    SelectRows({1});
    LVITEMW focus = {};
    focus.stateMask = focus.state = LVIS_FOCUSED;
    SendMessageW(g_hFolderList, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&focus));
    SendMessageW(g_hFolderList, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages();
    EXPECT_EQ(U(g_currentFolder), Make("sub"));
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"inner", "other"}));
    EXPECT_EQ(0, FocusedRow());  // the keyboard goes on from the top
    EXPECT_EQ(0, FolderListSelectedCount());

    // Up One Level: the folder it came from is focused and selected.
    GoUpOneLevel();
    EXPECT_EQ(U(g_currentFolder), temp.Path());
    EXPECT_EQ(1, FocusedRow());
    EXPECT_TRUE(IsRowSelected(1));
    EXPECT_EQ(1, FolderListSelectedCount());

    // F5 lists a new entry; the focused row keeps the focus by its name.
    ASSERT_TRUE(CreateDirectoryA(Make("aaa").c_str(), nullptr));
    RefreshFolderList();
    EXPECT_EQ(RowNames(), (std::vector<std::string>{"aaa", "early", "sub", "file.txt"}));
    EXPECT_EQ(2, FocusedRow());
}

TEST_F(FolderList, UpOneLevelAtADriveRootDoesNothing)
{
    ASSERT_TRUE(MakeFile(Make("marker.txt")));
    FillFolderList(W(temp.Path()));
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    g_currentFolder = L"C:\\";
    GoUpOneLevel();
    EXPECT_EQ(g_currentFolder, L"C:\\");
    EXPECT_EQ(CurrentDirectory(), "C:\\");
    EXPECT_EQ(RowNames(), std::vector<std::string>{"marker.txt"});  // not listed again
}

TEST_F(FolderList, DriveRootHasNoDotRowsAndAnEmptyFolderNoRows)
{
    ShowFolder(temp.Path());
    EXPECT_EQ(RowCount(), 0);
    ShowFolder("C:\\");
    ASSERT_GT(RowCount(), 0);
    EXPECT_EQ(FindRow("."), -1);
    EXPECT_EQ(FindRow(".."), -1);
    // A folder that cannot be searched leaves the list empty.
    ShowFolder(temp.Path());
    FillFolderList(W(Make("missing")));
    EXPECT_EQ(RowCount(), 0);
}

TEST_F(FolderList, ClickCopiesTheAttributesIntoTheAttributeChoice)
{
    ASSERT_TRUE(MakeFile(Make("a.txt")));
    ASSERT_TRUE(MakeFile(Make("b.txt")));
    ASSERT_TRUE(SetFileAttributesA(Make("a.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA(Make("b.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    ShowFolder(temp.Path());

    // The file system may add the archive bit on its own; the choice follows what it reports.
    auto archived = [&](const char *name) {
        return (GetFileAttributesA(Make(name).c_str()) & FILE_ATTRIBUTE_ARCHIVE) ? 1 : 0;
    };
    SelectRows({0});
    LoadClickedItemState();
    EXPECT_EQ(g_attrReadOnly, 1);
    EXPECT_EQ(g_attrHidden, 0);
    EXPECT_EQ(g_attrSystem, 1);
    EXPECT_EQ(g_attrArchive, archived("a.txt"));

    SelectRows({0, 1});  // two rows: the choice stays
    LoadClickedItemState();
    EXPECT_EQ(g_attrReadOnly, 1);

    SelectRows({1});
    LoadClickedItemState();
    EXPECT_EQ(g_attrReadOnly, 0);
    EXPECT_EQ(g_attrHidden, 1);
    EXPECT_EQ(g_attrSystem, 0);
    EXPECT_EQ(g_attrArchive, 1);
    SetFileAttributesA(Make("a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderList, ClickShowsTheLastWriteTimeInTheDateTimeLists)
{
    CreateMainControls(windows.Main());
    FillDateTimeLists();
    ASSERT_TRUE(MakeFile(Make("a1979.txt")));
    ASSERT_TRUE(MakeFile(Make("b2010.txt")));
    ASSERT_TRUE(StampItem(Make("a1979.txt"), UtcOfLocal(1979, 6, 15, 10, 20, 30)));
    ASSERT_TRUE(StampItem(Make("b2010.txt"), UtcOfLocal(2010, 5, 6, 12, 34, 31)));
    ShowFolder(temp.Path());
    char targetYear[kTimeFieldSize];
    std::memcpy(targetYear, g_targetTime[kYear], sizeof targetYear);
    auto selection = [](TimeField list) {
        return static_cast<int>(SendMessageA(g_dateTimeLists[list], CB_GETCURSEL, 0, 0));
    };

    SelectRows({1});
    LoadClickedItemState();
    EXPECT_EQ(selection(kYear), 2010 - 1980);
    EXPECT_EQ(selection(kMonth), 4);
    EXPECT_EQ(selection(kDay), 5);
    EXPECT_EQ(selection(kSecond), 31);

    // Before the first year of the list: the year list has no selection, the others do.
    SelectRows({0});
    LoadClickedItemState();
    EXPECT_EQ(selection(kYear), -1);
    EXPECT_EQ(selection(kMonth), 5);
    EXPECT_EQ(selection(kDay), 14);
    EXPECT_EQ(selection(kHour), 10);
    EXPECT_EQ(selection(kMinute), 20);
    EXPECT_EQ(selection(kSecond), 30);
    // What is shown is not yet the target time.
    EXPECT_STREQ(g_targetTime[kYear], targetYear);
    for (HWND &list : g_dateTimeLists) list = nullptr;  // they go with the window
}

// Every name as the file system gives it, whatever the code page: names no
// code page spells, a look-alike pair, a name ending in a dot beside the
// same name without it, and an entry past the old path limit.
TEST_F(FolderList, EveryNameIsShownAsItIsAndEachRowDescribesItsOwnItem)
{
    const std::vector<std::pair<std::string, DWORD>> files = {
        {"\xE6\x97\xA5\xE6\x9C\xAC.txt", 7}, {"\xC4\x81.txt", 2}, {"a.txt", 3},
        {"report.", 4}, {"report", 5}, {std::string(240, 'x'), 6}};
    for (const auto &file : files) ASSERT_TRUE(MakeFileOfSize(Make(file.first), file.second));
    ShowFolder(temp.Path());
    ASSERT_EQ(RowCount(), static_cast<int>(files.size()));
    for (const auto &file : files) {
        const int row = FindRow(file.first);
        ASSERT_GE(row, 0) << file.first;
        EXPECT_EQ(RowText(row, 1), std::string(9, ' ') + std::to_string(file.second)) << file.first;
        EXPECT_EQ(U(ReadRowFullPath(row)), Make(file.first));
    }
}

// The pixels of one image of a list, drawn on white.
std::vector<COLORREF> ImagePixels(HIMAGELIST images, int index)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 16, 16};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(images, index, dc, 0, 0, ILD_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The pixels an icon gets in an image list of the folder list's kind.
std::vector<COLORREF> IconPixels(HICON icon)
{
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 1, 0);
    ImageList_AddIcon(images, icon);
    std::vector<COLORREF> pixels = ImagePixels(images, 0);
    ImageList_Destroy(images);
    return pixels;
}

// The bytes of a 16 x 16 icon file of one colour.
std::string SolidIcon(BYTE red, BYTE green, BYTE blue)
{
    std::string bytes;
    auto put16 = [&](unsigned v) { bytes += char(v & 0xFF); bytes += char(v >> 8); };
    auto put32 = [&](unsigned v) { put16(v & 0xFFFF); put16(v >> 16); };
    const unsigned imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    put16(0); put16(1); put16(1);                          // an icon file of one image
    bytes += char(16); bytes += char(16); bytes += '\0'; bytes += '\0';
    put16(1); put16(32); put32(imageSize); put32(6 + 16);
    put32(40); put32(16); put32(32); put16(1); put16(32); put32(0); put32(16 * 16 * 4);
    put32(0); put32(0); put32(0); put32(0);
    for (int i = 0; i < 16 * 16; ++i) {
        bytes += char(blue); bytes += char(green); bytes += char(red); bytes += char(0xFF);
    }
    bytes.append(16 * 4, '\0');                            // every pixel shown
    return bytes;
}

int RowImage(int row)
{
    LVITEMW item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    SendMessageW(g_hFolderList, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

TEST_F(FolderList, RowsOfOneIconShareOneImageAndEachRowShowsItsOwnIcon)
{
    g_windowsKind = 5;
    for (const char *name : {"Alpha", "Beta"}) ASSERT_TRUE(CreateDirectoryA(Make(name).c_str(), nullptr));
    for (const char *name : {"a.txt", "B.TXT", "c.jpg", "d.jpg", "noext", "one.exe", "two.exe"})
        ASSERT_TRUE(MakeFile(Make(name)));
    // Files whose every one has an icon of its own.
    MakeFileWith(Make("red.ico"), SolidIcon(0xFF, 0, 0));
    MakeFileWith(Make("blue.ico"), SolidIcon(0, 0, 0xFF));
    // Past the shell's path limit: the shell gives no icon, the program its own.
    ASSERT_TRUE(MakeFileOfSize(Make(std::string(240, 'x')), 0));
    ShowFolder(temp.Path());
    ASSERT_EQ(RowCount(), 12);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        SendMessageW(g_hFolderList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(images, nullptr);

    std::set<int> used;
    for (int row = 0; row < RowCount(); ++row) used.insert(RowImage(row));
    EXPECT_EQ(ImageList_GetImageCount(images), static_cast<int>(used.size()));
    EXPECT_EQ(RowImage(FindRow("Alpha")), RowImage(FindRow("Beta")));
    EXPECT_EQ(RowImage(FindRow("a.txt")), RowImage(FindRow("B.TXT")));
    EXPECT_EQ(RowImage(FindRow("c.jpg")), RowImage(FindRow("d.jpg")));
    // Two empty programs: each asked for its own icon, both get the same one.
    EXPECT_EQ(RowImage(FindRow("one.exe")), RowImage(FindRow("two.exe")));

    // Every row shows the very icon it would get alone.
    for (const std::string &name : RowNames()) {
        const int row = FindRow(name);
        HICON expected;
        bool destroy = false;
        if (name == "Alpha" || name == "Beta") {
            expected = LoadIconA(GetModuleHandleA(nullptr),
                                 FolderIconResource(ChooseFolderIcon(W(name), false, 5)));
        } else {
            SHFILEINFOW info = {};
            SHGetFileInfoW(W(Make(name)).c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON);
            destroy = info.hIcon != nullptr;
            expected = info.hIcon ? info.hIcon : LoadIconA(GetModuleHandleA(nullptr), "NO_FIL_ICON");
        }
        ASSERT_NE(expected, nullptr) << name;
        EXPECT_EQ(ImagePixels(images, RowImage(row)), IconPixels(expected)) << name;
        if (destroy) DestroyIcon(expected);
    }
}

TEST_F(FolderList, AFullFileTableKeepsEverySubfolderAndTheRowsStopAt2000)
{
    char name[32];
    for (int i = 0; i < 2500; ++i) {
        std::snprintf(name, sizeof name, "file%04d.txt", i);
        ASSERT_TRUE(MakeFileOfSize(Make(name), 0));
    }
    for (int i = 0; i < 10; ++i) {
        std::snprintf(name, sizeof name, "folder%d", i);
        ASSERT_TRUE(CreateDirectoryA(Make(name).c_str(), nullptr));
    }
    SetCurrentDirectoryA(temp.Path().c_str());
    g_currentFolder = W(temp.Path());
    auto start = std::chrono::steady_clock::now();
    FillFolderList(g_currentFolder);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("filling 2000 rows took %lld ms\n", static_cast<long long>(elapsed.count()));
    RecordProperty("fill_2000_rows_ms", static_cast<int>(elapsed.count()));

    std::vector<std::string> names = RowNames();
    ASSERT_EQ(names.size(), 2000u);
    for (int i = 0; i < 10; ++i) {
        std::snprintf(name, sizeof name, "folder%d", i);
        EXPECT_EQ(names[i], name);
    }
    for (size_t i = 10; i + 1 < names.size(); ++i) {
        ASSERT_EQ(names[i].compare(0, 4, "file"), 0) << names[i];
        ASSERT_LT(lstrcmpA(names[i].c_str(), names[i + 1].c_str()), 0) << names[i];
    }
}

}  // namespace
