// The drive selector with the drives of the test prefix: K: floppy, L: CD-ROM,
// N: network, P: fixed with the label RETEMPODATA, and the system's C:.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "browser_windows.h"
#include "drive_selector.h"
#include "folder_list.h"
#include "language.h"
#include "modal_answerer.h"
#include "selector_table.h"
#include "test_support.h"

namespace {

std::string ControlText(int index)
{
    char text[kSelectorTextSize] = {};
    COMBOBOXEXITEMA item = {};
    item.mask = CBEIF_TEXT | CBEIF_INDENT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = sizeof text - 1;
    SendMessageA(g_hDriveSelector, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

int Selected() { return static_cast<int>(SendMessageA(g_hDriveSelector, CB_GETCURSEL, 0, 0)); }

int EntryOf(const char *prefix) { return FindFirstSelectorEntry(prefix); }

// What the user does: pick an entry, the control tells the main window.
void Choose(int index)
{
    SendMessageA(g_hDriveSelector, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(g_hDriveSelector), WM_COMMAND,
                 MAKEWPARAM(kDriveSelectorId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(g_hDriveSelector));
}

class DriveSelector : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        ASSERT_EQ(std::toupper(temp.Path()[0]), 'C') << "the chain cases walk down drive C:";
        std::strcpy(g_currentFolder, "C:\\");
        SetCurrentDirectoryA("C:\\");
        windows = std::make_unique<BrowserWindows>(true);
        ASSERT_TRUE(windows->Ready());
        ASSERT_NE(g_hDriveSelector, nullptr);
    }
    void TearDown() override { windows.reset(); }

    // Walks from the root of C: down to the folder one level at a time, as
    // double clicks in the folder list do.
    void WalkDownTo(const std::string &folder)
    {
        ShowFolder("C:\\");
        size_t at = 3;
        while (at < folder.size()) {
            size_t next = folder.find('\\', at);
            if (next == std::string::npos) next = folder.size();
            std::string name = folder.substr(at, next - at);
            int row = FindRow(name);
            ASSERT_GE(row, 0) << name;
            SelectRows({row});
            EnterSelectedFolder();
            ASSERT_EQ(CurrentDirectory(), folder.substr(0, next));
            at = next + 1;
        }
    }

    IntGuard language{g_japaneseMode};
    TempFolder temp;
    std::unique_ptr<BrowserWindows> windows;
};

TEST_F(DriveSelector, ListsEveryDriveWithItsDescription)
{
    EXPECT_EQ(ControlText(EntryOf("K:")), "K:[REMOVABLE-DRIVE]");
    EXPECT_EQ(ControlText(EntryOf("L:")), "L:[CD-ROM]");
    EXPECT_EQ(ControlText(EntryOf("N:")), "N:[NETWORK-DRIVE]");
    EXPECT_EQ(ControlText(EntryOf("P:")), "P:[RETEMPODATA]");
    std::string c = ControlText(EntryOf("C:"));
    EXPECT_EQ(c.compare(0, 3, "C:["), 0) << c;
    EXPECT_EQ(c.back(), ']');
    // Letter order, one control item per table entry, the program's drive selected.
    EXPECT_LT(EntryOf("C:"), EntryOf("K:"));
    EXPECT_LT(EntryOf("N:"), EntryOf("P:"));
    EXPECT_EQ(SendMessageA(g_hDriveSelector, CB_GETCOUNT, 0, 0), g_selectorCount);
    EXPECT_EQ(Selected(), EntryOf("C:"));
}

TEST_F(DriveSelector, ChoosingTheCurrentDriveAtItsRootRereadsNothing)
{
    ASSERT_TRUE(MakeFile(temp.Child("marker.txt")));
    FillFolderList(temp.Path().c_str());  // what a reread would replace
    int count = g_selectorCount;
    Choose(EntryOf("C:"));
    EXPECT_EQ(RowNames(), std::vector<std::string>{"marker.txt"});
    EXPECT_EQ(g_selectorCount, count);
    EXPECT_STREQ(g_currentFolder, "C:\\");
}

TEST_F(DriveSelector, TheChainFollowsEnteringAndLeavingFolders)
{
    std::string data = temp.Child("Data"), photos = temp.Child("Data\\Photos");
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(photos.c_str(), nullptr));
    int drives = g_selectorCount;
    WalkDownTo(photos);
    int depth = static_cast<int>(std::count(photos.begin(), photos.end(), '\\'));
    ASSERT_EQ(g_selectorCount, drives + depth);
    int photosEntry = EntryOf("C:") + depth;
    EXPECT_EQ(Selected(), photosEntry);
    EXPECT_EQ(ControlText(photosEntry), "Photos");
    EXPECT_EQ(g_selectorIndent[photosEntry], depth);
    EXPECT_EQ(g_selectorImage[photosEntry], kSelectorImageOpen);
    EXPECT_EQ(g_selectorImage[photosEntry - 1], kSelectorImageFolder);

    GoUpOneLevel();
    EXPECT_EQ(g_selectorCount, drives + depth - 1);
    EXPECT_EQ(Selected(), photosEntry - 1);
    EXPECT_EQ(g_selectorImage[photosEntry - 1], kSelectorImageOpen);
    EXPECT_EQ(FindLastSelectorEntry(photos.c_str()), -1);
}

TEST_F(DriveSelector, ChoosingAChainEntryGoesBackUpToIt)
{
    std::string data = temp.Child("Data"), photos = temp.Child("Data\\Photos");
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(photos.c_str(), nullptr));
    WalkDownTo(photos);
    int dataEntry = FindLastSelectorEntry(data.c_str());
    ASSERT_EQ(dataEntry, Selected() - 1);

    Choose(dataEntry);
    EXPECT_EQ(std::string(g_currentFolder), data);
    EXPECT_EQ(CurrentDirectory(), data);
    EXPECT_EQ(RowNames(), std::vector<std::string>{"Photos"});
    EXPECT_EQ(Selected(), dataEntry);
    EXPECT_EQ(g_selectorImage[dataEntry], kSelectorImageOpen);
    EXPECT_EQ(FindLastSelectorEntry(photos.c_str()), -1);

    Choose(dataEntry);  // already there: nothing changes
    EXPECT_EQ(std::string(g_currentFolder), data);

    int count = g_selectorCount;
    int depth = g_selectorIndent[dataEntry];
    Choose(EntryOf("C:"));
    EXPECT_STREQ(g_currentFolder, "C:\\");
    EXPECT_EQ(CurrentDirectory(), "C:\\");
    EXPECT_EQ(g_selectorCount, count - depth);
    EXPECT_EQ(FindChainStart(), -1);
    EXPECT_EQ(Selected(), EntryOf("C:"));
}

TEST_F(DriveSelector, AnotherDriveDropsTheChainAndListsItsRoot)
{
    std::string data = temp.Child("Data");
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    WalkDownTo(data);
    int chain = g_selectorIndent[Selected()];
    int p = EntryOf("P:");
    ModalAnswerer answerer({IDNO});
    Choose(p);
    EXPECT_TRUE(answerer.Seen().empty()) << answerer.Describe();  // a fixed drive: no question
    EXPECT_STREQ(g_currentFolder, "P:\\");
    EXPECT_EQ(CurrentDirectory(), "P:\\");
    EXPECT_EQ(Selected(), p - chain);
    EXPECT_EQ(EntryOf("P:"), p - chain);
    EXPECT_EQ(FindChainStart(), -1);

    // Back on C: the root is listed, not the folder last visited there.
    Choose(EntryOf("C:"));
    EXPECT_STREQ(g_currentFolder, "C:\\");
    EXPECT_EQ(CurrentDirectory(), "C:\\");
    EXPECT_EQ(FindRow(data.substr(data.rfind('\\') + 1)), -1);
}

TEST_F(DriveSelector, RemovableAndCdRomDrivesAskForMediaFirst)
{
    g_japaneseMode = 0;
    ASSERT_TRUE(MakeFile(temp.Child("marker.txt")));
    WalkDownTo(temp.Path());
    std::string start = g_currentFolder;
    int startEntry = Selected();
    {
        ModalAnswerer answerer({IDNO});
        Choose(EntryOf("K:"));
        ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
        EXPECT_EQ(answerer.Seen()[0].caption, "CAUTION");
        EXPECT_EQ(answerer.Seen()[0].text, "Does the drive K:\\ have a media ready to use?");
        EXPECT_EQ(answerer.Seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(std::string(g_currentFolder), start);
        EXPECT_EQ(CurrentDirectory(), start);
        EXPECT_EQ(Selected(), startEntry);
        EXPECT_EQ(RowNames(), std::vector<std::string>{"marker.txt"});
    }
    {
        // Yes on the CD-ROM drive: it becomes current, or it fails without a
        // word and everything stays as it was.
        ModalAnswerer answerer({IDYES});
        Choose(EntryOf("L:"));
        EXPECT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
        if (std::string(g_currentFolder) == "L:\\") {
            EXPECT_EQ(CurrentDirectory(), "L:\\");
            EXPECT_EQ(Selected(), EntryOf("L:"));
        } else {
            EXPECT_EQ(std::string(g_currentFolder), start);
            EXPECT_EQ(Selected(), startEntry);
        }
    }
}

}  // namespace
