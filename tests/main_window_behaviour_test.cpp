// Behaviour both main windows share, checked through real window messages.
// Compiled into each program's window test; ids come from that program's table.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "date_time_selector.h"
#include "gui_test_support.h"
#include "labels_layout.h"
#include "language.h"
#include "list_container.h"
#include "main_window.h"
#include "program_table.h"
#include "target_time.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_japaneseMode = 0;
        g_windowsKind = 0;
        window = CreateStartedMainWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(g_controlsReady, 1);
    }
    void TearDown() override { DestroyMainWindow(window); }

    std::string Target(TimeField field) const { return g_targetTime[field]; }
    std::string ListText(int list, int entry) const
    {
        char text[16] = {};
        SendMessageA(g_dateTimeLists[list], CB_GETLBTEXT, entry, reinterpret_cast<LPARAM>(text));
        return text;
    }
    LRESULT Command(int id, int notification = BN_CLICKED)
    {
        return SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, notification), 0);
    }

    HWND window = nullptr;
};

TEST_F(MainWindowTest, ListsOfferTheirRangesAndShowTheStartTime)
{
    const int counts[] = {100, 12, 31, 24, 60, 60};
    const char *first[] = {"1980", "1", "1", "0", "0", "0"};
    const char *last[] = {"2079", "12", "31", "23", "59", "59"};
    for (int list = 0; list < kTimeFieldCount; ++list) {
        SCOPED_TRACE(list);
        ASSERT_EQ(EntryCount(list), counts[list]);
        EXPECT_EQ(ListText(list, 0), first[list]);
        EXPECT_EQ(ListText(list, counts[list] - 1), last[list]);
        // The start time is both the target and the remembered time, and is shown.
        EXPECT_STREQ(g_targetTime[list], g_rememberedTime[list]);
        EXPECT_EQ(ListText(list, SelectedEntry(list)), g_rememberedTime[list]);
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(ReadTimeField(g_rememberedTime[kYear]), now.wYear);
    EXPECT_EQ(ReadTimeField(g_rememberedTime[kMonth]), now.wMonth);
    EXPECT_EQ(ReadTimeField(g_rememberedTime[kDay]), now.wDay);
}

TEST_F(MainWindowTest, DayListFollowsMonthAndYear)
{
    // 31, then April: the month's last day is taken, also as the target day.
    ChooseEntry(window, kDay, 30);
    ChooseEntry(window, kMonth, 3);
    EXPECT_EQ(EntryCount(kDay), 30);
    EXPECT_EQ(SelectedEntry(kDay), 29);
    EXPECT_EQ(Target(kDay), "30");
    Repaint(window);
    EXPECT_EQ(SelectedEntry(kDay), 29);

    // 30 in February of 2000 (leap) and of 2001.
    ChooseEntry(window, kMonth, 0);
    ChooseEntry(window, kDay, 29);
    ChooseEntry(window, kYear, 2000 - 1980);
    ChooseEntry(window, kMonth, 1);
    EXPECT_EQ(EntryCount(kDay), 29);
    EXPECT_EQ(SelectedEntry(kDay), 28);
    EXPECT_EQ(Target(kDay), "29");

    // 29 February, then a common year.
    ChooseEntry(window, kYear, 2001 - 1980);
    EXPECT_EQ(EntryCount(kDay), 28);
    EXPECT_EQ(SelectedEntry(kDay), 27);
    EXPECT_EQ(Target(kDay), "28");

    // A day the shorter month has is kept.
    ChooseEntry(window, kMonth, 2);
    ChooseEntry(window, kDay, 14);
    ChooseEntry(window, kMonth, 10);
    EXPECT_EQ(EntryCount(kDay), 30);
    EXPECT_EQ(SelectedEntry(kDay), 14);
    EXPECT_EQ(Target(kDay), "15");
}

TEST_F(MainWindowTest, MonthListFocusAloneRebuildsTheDayList)
{
    ASSERT_EQ(EntryCount(kDay), 31);
    SendMessageA(g_dateTimeLists[kMonth], CB_SETCURSEL, 8, 0);  // September, silently
    SendMessageA(g_dateTimeLists[kDay], CB_SETCURSEL, 30, 0);
    Command(g_program.firstListId + kMonth, CBN_SETFOCUS);
    EXPECT_EQ(EntryCount(kDay), 30);
    EXPECT_EQ(SelectedEntry(kDay), 29);
}

TEST_F(MainWindowTest, ChoiceIsStoredAsItsPlainText)
{
    ChooseEntry(window, kHour, 7);
    EXPECT_EQ(Target(kHour), "7");
    ChooseEntry(window, kMinute, 0);
    EXPECT_EQ(Target(kMinute), "0");
    // Notifications other than a selection change store nothing.
    SendMessageA(g_dateTimeLists[kSecond], CB_SETCURSEL, 42, 0);
    Command(g_program.firstListId + kSecond, CBN_DROPDOWN);
    EXPECT_STREQ(g_targetTime[kSecond], g_rememberedTime[kSecond]);
}

TEST_F(MainWindowTest, ListWithoutSelectionFallsBackOnTheStartTime)
{
    std::string before = Target(kHour);
    SendMessageA(g_dateTimeLists[kHour], CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Command(g_program.firstListId + kHour, CBN_SELCHANGE);
    EXPECT_EQ(SelectedEntry(kHour), ReadTimeField(g_rememberedTime[kHour]));
    EXPECT_EQ(Target(kHour), before);
}

TEST_F(MainWindowTest, ReadTargetTimeTakesIndexPlusOffset)
{
    SendMessageA(g_dateTimeLists[kYear], CB_SETCURSEL, 0, 0);
    SendMessageA(g_dateTimeLists[kMonth], CB_SETCURSEL, 0, 0);
    SendMessageA(g_dateTimeLists[kDay], CB_SETCURSEL, 0, 0);
    SendMessageA(g_dateTimeLists[kHour], CB_SETCURSEL, 23, 0);
    SendMessageA(g_dateTimeLists[kMinute], CB_SETCURSEL, 5, 0);
    SendMessageA(g_dateTimeLists[kSecond], CB_SETCURSEL, 59, 0);
    ReadTargetTime();
    EXPECT_EQ(Target(kYear), "1980");
    EXPECT_EQ(Target(kMonth), "1");
    EXPECT_EQ(Target(kDay), "1");
    EXPECT_EQ(Target(kHour), "23");
    EXPECT_EQ(Target(kMinute), "5");
    EXPECT_EQ(Target(kSecond), "59");
}

TEST_F(MainWindowTest, TimeOutsideTheYearsShownLeavesTheYearToTheStartTime)
{
    SYSTEMTIME old = {};
    old.wYear = 1975;
    old.wMonth = 3;
    old.wDay = 9;
    old.wHour = 4;
    old.wMinute = 5;
    old.wSecond = 6;
    ShowTimeInLists(old);
    EXPECT_EQ(SelectedEntry(kYear), CB_ERR);
    EXPECT_EQ(SelectedEntry(kMonth), 2);
    EXPECT_EQ(SelectedEntry(kSecond), 6);
    // Shown, not yet the target.
    EXPECT_STREQ(g_targetTime[kMonth], g_rememberedTime[kMonth]);
    ReadTargetTime();
    EXPECT_STREQ(g_targetTime[kYear], g_rememberedTime[kYear]);
    EXPECT_EQ(Target(kMonth), "3");
    EXPECT_EQ(Target(kDay), "9");
}

TEST_F(MainWindowTest, AShownTimeGivesTheDayListTheLengthOfItsMonth)
{
    // February 2001 picked: 28 days.
    SendMessageA(g_dateTimeLists[kYear], CB_SETCURSEL, 2001 - 1980, 0);
    SendMessageA(g_dateTimeLists[kMonth], CB_SETCURSEL, 1, 0);
    AdjustDayList();
    ASSERT_EQ(SendMessageA(g_dateTimeLists[kDay], CB_GETCOUNT, 0, 0), 28);

    SYSTEMTIME item = {};
    item.wYear = 2023;
    item.wMonth = 3;
    item.wDay = 31;
    ShowTimeInLists(item);
    EXPECT_EQ(SendMessageA(g_dateTimeLists[kDay], CB_GETCOUNT, 0, 0), 31);
    EXPECT_EQ(SelectedEntry(kDay), 30);
    ReadTargetTime();
    EXPECT_EQ(Target(kDay), "31");
    EXPECT_EQ(Target(kMonth), "3");

    item.wMonth = 4;
    item.wDay = 30;
    ShowTimeInLists(item);
    EXPECT_EQ(SendMessageA(g_dateTimeLists[kDay], CB_GETCOUNT, 0, 0), 30) << "no 31 April to pick";
    EXPECT_EQ(SelectedEntry(kDay), 29);
}

TEST_F(MainWindowTest, RepaintBringsTheListsBackToTheTarget)
{
    SYSTEMTIME other = {};
    other.wYear = 1999;
    other.wMonth = 12;
    other.wDay = 31;
    ShowTimeInLists(other);
    ASSERT_EQ(SelectedEntry(kYear), 1999 - 1980);
    Repaint(window);
    EXPECT_EQ(ListText(kYear, SelectedEntry(kYear)), Target(kYear));
    EXPECT_EQ(ListText(kMonth, SelectedEntry(kMonth)), Target(kMonth));
}

TEST_F(MainWindowTest, CheckBoxAndFlagFlipTogether)
{
    HWND box = GetDlgItem(window, g_program.checkBoxId);
    ASSERT_EQ(box, g_hIncludeBox);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(g_includeSubfolders, 0);
    SendMessageA(box, BM_CLICK, 0, 0);  // the box tells its parent, as a user's click does
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(g_includeSubfolders, 1);
    // Any notification of the box toggles it.
    Command(g_program.checkBoxId, BN_DOUBLECLICKED);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(g_includeSubfolders, 0);
}

TEST_F(MainWindowTest, UnknownCommandsChangeNothing)
{
    TimeFields before;
    std::memcpy(before, g_targetTime, sizeof before);
    int selected[kTimeFieldCount];
    for (int list = 0; list < kTimeFieldCount; ++list) selected[list] = SelectedEntry(list);

    const int ids[] = {0, g_program.firstCommandId - 1, g_program.lastCommandId + 1, 0x7FFF, 0xFFFF};
    for (int id : ids) {
        EXPECT_EQ(FindCommandHandler(MAKEWPARAM(id, 0)), nullptr) << id;
        Command(id);
    }
    DrainMessages();
    EXPECT_FALSE(TakeQuitMessage());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_NE(FindListContainer(window), nullptr);
    EXPECT_EQ(std::memcmp(before, g_targetTime, sizeof before), 0);
    for (int list = 0; list < kTimeFieldCount; ++list) EXPECT_EQ(SelectedEntry(list), selected[list]);
    EXPECT_EQ(g_includeSubfolders, 0);
}

TEST_F(MainWindowTest, ExitCommandEndsTheLoopAndReleasesTheContainer)
{
    Command(g_program.lastCommandId);
    int code = -1;
    DrainMessages();
    EXPECT_TRUE(TakeQuitMessage(&code));
    EXPECT_EQ(code, 0);
    // The window itself stays until the process ends.
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(FindListContainer(window), nullptr);
    WNDCLASSW unused;
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), kContainerClassName, &unused));
}

TEST_F(MainWindowTest, CloseBoxDestroysTheWindowAndEndsTheLoop)
{
    SendMessageA(window, WM_CLOSE, 0, 0);
    int code = -1;
    DrainMessages();
    EXPECT_TRUE(TakeQuitMessage(&code));
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(IsWindow(window));
    WNDCLASSW unused;
    EXPECT_FALSE(GetClassInfoW(GetModuleHandleW(nullptr), kContainerClassName, &unused));
}

TEST_F(MainWindowTest, OwnPathAndReadmeFollowTheRunningFile)
{
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    EXPECT_EQ(g_programPath, own);
    std::wstring readme = own;
    readme.replace(readme.size() - 3, 3, L"TXT");
    EXPECT_EQ(g_readmePath, readme);
}

// Showing an item's time (a click in klokan99's folder list, the first row
// of klokan98's drop list) and any repaint after it must leave the day the
// user picked, also when the item's month is shorter.
TEST_F(MainWindowTest, ThePickedDayOutlivesTheTimeOfAnItemOfAShorterMonth)
{
    ChooseEntry(window, kYear, 2015 - 1980);
    ChooseEntry(window, kMonth, 3 - 1);
    ChooseEntry(window, kDay, 31 - 1);
    SYSTEMTIME april = {};
    april.wYear = 2014;
    april.wMonth = 4;
    april.wDay = 10;
    ShowTimeInLists(april);
    EXPECT_EQ(EntryCount(kDay), 30);
    Repaint(window);  // the target is selected again
    ReadTargetTime();
    EXPECT_EQ(Target(kYear), "2015");
    EXPECT_EQ(Target(kMonth), "3");
    EXPECT_EQ(Target(kDay), "31");
}

TEST_F(MainWindowTest, ItemDrawingFollowsTheItemAction)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 80, 20);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const RECT all = {0, 0, 80, 20};

    auto draw = [&](UINT action, UINT controlId, UINT item) {
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_COMBOBOX;
        draw.CtlID = controlId;
        draw.itemID = item;
        draw.itemAction = action;
        draw.hwndItem = GetDlgItem(window, controlId);
        draw.hDC = dc;
        draw.rcItem = {0, 0, 80, 20};
        SendMessageA(window, WM_DRAWITEM, controlId, reinterpret_cast<LPARAM>(&draw));
        int dark = 0, lowest = -1, highest = -1;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 80; ++x)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    ++dark;
                    if (highest < 0) highest = y;
                    lowest = y;
                }
        return std::make_pair(dark, lowest - highest);
    };
    UINT year = g_program.firstListId + kYear;
    EXPECT_GT(draw(ODA_DRAWENTIRE, year, 99).first, 0);
    EXPECT_GT(draw(ODA_SELECT, year, 99).first, 0);
    EXPECT_EQ(draw(ODA_FOCUS, year, 99).first, 0);
    EXPECT_EQ(draw(ODA_DRAWENTIRE, year, static_cast<UINT>(-1)).first, 0);
    EXPECT_EQ(draw(ODA_DRAWENTIRE, g_program.checkBoxId, 0).first, 0);

    // The NT family asks for the larger English size. MS Sans Serif draws
    // both sizes from one strike, so the request is what tells them apart.
    g_windowsKind = 0;
    EXPECT_EQ(TextFont().lfHeight, 12);
    g_windowsKind = 5;
    EXPECT_EQ(TextFont().lfHeight, 15);
    EXPECT_GT(draw(ODA_DRAWENTIRE, year, 99).first, 0);
    g_windowsKind = 0;

    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST(MainWindowPlaceTest, CentresAndGoesNegativeOnASmallScreen)
{
    int caption = 20;
    WindowPlace place = MainWindowPlace(1280, 1024, caption);
    EXPECT_EQ(place.width, 576);
    EXPECT_EQ(place.x, (1280 - 576) / 2);
    EXPECT_EQ(place.y, (1024 - place.height) / 2);
    // Halved differences truncate toward zero: -175 / 2 is -87, not -88.
    place = MainWindowPlace(401, 100, caption);
    EXPECT_EQ(place.x, -87);
    EXPECT_LT(place.y, 0);
}

TEST(MainWindowOnSmallScreenTest, StillOpensWithEveryLayer)
{
    HWND window = CreateStartedMainWindow(-1, 320, 200);
    ASSERT_NE(window, nullptr);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, (320 - 576) / 2);
    EXPECT_LT(frame.top, 0);
    EXPECT_EQ(g_controlsReady, 1);
    EXPECT_NE(FindListContainer(window), nullptr);
    DestroyMainWindow(window);
}

} // namespace
