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
    wchar_t text[1024] = {};
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_TEXT | CBEIF_INDENT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = 1023;
    SendMessageW(g_hDriveSelector, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return U(text);
}

int Selected() { return static_cast<int>(SendMessageW(g_hDriveSelector, CB_GETCURSEL, 0, 0)); }

int EntryOf(const char *prefix) { return FindFirstSelectorEntry(W(prefix)); }

int Count() { return static_cast<int>(g_selector.size()); }

std::string Current() { return U(g_currentFolder); }

// What the user does: pick an entry, the control tells the main window.
void Choose(int index)
{
    SendMessageW(g_hDriveSelector, CB_SETCURSEL, index, 0);
    SendMessageW(GetParent(g_hDriveSelector), WM_COMMAND,
                 MAKEWPARAM(kDriveSelectorId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(g_hDriveSelector));
}

class DriveSelector : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        ASSERT_EQ(std::toupper(temp.Path()[0]), 'C') << "the chain cases walk down drive C:";
        g_currentFolder = L"C:\\";
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
    EXPECT_EQ(SendMessageW(g_hDriveSelector, CB_GETCOUNT, 0, 0), Count());
    EXPECT_EQ(Selected(), EntryOf("C:"));
}

TEST_F(DriveSelector, ChoosingTheCurrentDriveAtItsRootRereadsNothing)
{
    ASSERT_TRUE(MakeFile(temp.Child("marker.txt")));
    FillFolderList(W(temp.Path()));  // what a reread would replace
    int count = Count();
    Choose(EntryOf("C:"));
    EXPECT_EQ(RowNames(), std::vector<std::string>{"marker.txt"});
    EXPECT_EQ(Count(), count);
    EXPECT_EQ(Current(), "C:\\");
}

TEST_F(DriveSelector, TheChainFollowsEnteringAndLeavingFolders)
{
    std::string data = temp.Child("Data"), photos = temp.Child("Data\\Photos");
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(photos.c_str(), nullptr));
    int drives = Count();
    WalkDownTo(photos);
    int depth = static_cast<int>(std::count(photos.begin(), photos.end(), '\\'));
    ASSERT_EQ(Count(), drives + depth);
    int photosEntry = EntryOf("C:") + depth;
    EXPECT_EQ(Selected(), photosEntry);
    EXPECT_EQ(ControlText(photosEntry), "Photos");
    EXPECT_EQ(g_selector[photosEntry].indent, depth);
    EXPECT_EQ(g_selector[photosEntry].image, kSelectorImageOpen);
    EXPECT_EQ(g_selector[photosEntry - 1].image, kSelectorImageFolder);

    GoUpOneLevel();
    EXPECT_EQ(Count(), drives + depth - 1);
    EXPECT_EQ(Selected(), photosEntry - 1);
    EXPECT_EQ(g_selector[photosEntry - 1].image, kSelectorImageOpen);
    EXPECT_EQ(FindLastSelectorEntry(W(photos)), -1);
}

TEST_F(DriveSelector, ChoosingAChainEntryGoesBackUpToIt)
{
    std::string data = temp.Child("Data"), photos = temp.Child("Data\\Photos");
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(photos.c_str(), nullptr));
    WalkDownTo(photos);
    int dataEntry = FindLastSelectorEntry(W(data));
    ASSERT_EQ(dataEntry, Selected() - 1);

    Choose(dataEntry);
    EXPECT_EQ(Current(), data);
    EXPECT_EQ(CurrentDirectory(), data);
    EXPECT_EQ(RowNames(), std::vector<std::string>{"Photos"});
    EXPECT_EQ(Selected(), dataEntry);
    EXPECT_EQ(g_selector[dataEntry].image, kSelectorImageOpen);
    EXPECT_EQ(FindLastSelectorEntry(W(photos)), -1);

    Choose(dataEntry);  // already there: nothing changes
    EXPECT_EQ(Current(), data);

    int count = Count();
    int depth = g_selector[dataEntry].indent;
    Choose(EntryOf("C:"));
    EXPECT_EQ(Current(), "C:\\");
    EXPECT_EQ(CurrentDirectory(), "C:\\");
    EXPECT_EQ(Count(), count - depth);
    EXPECT_EQ(FindChainStart(), -1);
    EXPECT_EQ(Selected(), EntryOf("C:"));
}

TEST_F(DriveSelector, AnotherDriveDropsTheChainAndListsItsRoot)
{
    std::string data = temp.Child("Data");
    ASSERT_TRUE(CreateDirectoryA(data.c_str(), nullptr));
    WalkDownTo(data);
    int chain = g_selector[Selected()].indent;
    int p = EntryOf("P:");
    ModalAnswerer answerer({IDNO});
    Choose(p);
    EXPECT_TRUE(answerer.Seen().empty()) << answerer.Describe();  // a fixed drive: no question
    EXPECT_EQ(Current(), "P:\\");
    EXPECT_EQ(CurrentDirectory(), "P:\\");
    EXPECT_EQ(Selected(), p - chain);
    EXPECT_EQ(EntryOf("P:"), p - chain);
    EXPECT_EQ(FindChainStart(), -1);

    // Back on C: the root is listed, not the folder last visited there.
    Choose(EntryOf("C:"));
    EXPECT_EQ(Current(), "C:\\");
    EXPECT_EQ(CurrentDirectory(), "C:\\");
    EXPECT_EQ(FindRow(data.substr(data.rfind('\\') + 1)), -1);
}

TEST_F(DriveSelector, RemovableAndCdRomDrivesAskForMediaFirst)
{
    g_japaneseMode = 0;
    ASSERT_TRUE(MakeFile(temp.Child("marker.txt")));
    WalkDownTo(temp.Path());
    std::string start = Current();
    int startEntry = Selected();
    {
        ModalAnswerer answerer({IDNO});
        Choose(EntryOf("K:"));
        ASSERT_EQ(answerer.Seen().size(), 1u) << answerer.Describe();
        EXPECT_EQ(answerer.Seen()[0].caption, "CAUTION");
        EXPECT_EQ(answerer.Seen()[0].text, "Does the drive K:\\ have a media ready to use?");
        EXPECT_EQ(answerer.Seen()[0].icon, static_cast<UINT>(MB_ICONWARNING));
        EXPECT_EQ(Current(), start);
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
        if (Current() == "L:\\") {
            EXPECT_EQ(CurrentDirectory(), "L:\\");
            EXPECT_EQ(Selected(), EntryOf("L:"));
        } else {
            EXPECT_EQ(Current(), start);
            EXPECT_EQ(Selected(), startEntry);
        }
    }
}

}  // namespace
