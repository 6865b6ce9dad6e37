// klokan99's own main window: names, sizes, control places, labels and paths.
#include <gtest/gtest.h>

#include <string>

#include "date_time_selector.h"
#include "folder_list.h"
#include "gui_test_support.h"
#include "language.h"
#include "list_container.h"
#include "main_window.h"

namespace {

struct Box {
    int x, y, width, height;
};

Box ChildBox(HWND parent, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

class Klokan99Window : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(MissingLabelFont(), ""); }
    void Start(int languageMode)
    {
        g_japaneseMode = 0;
        g_windowsKind = 0;
        window = CreateStartedMainWindow(languageMode);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyMainWindow(window); }
    HWND window = nullptr;
};

TEST_F(Klokan99Window, HasItsNameTitleAndFixedSize)
{
    Start(-1);
    EXPECT_EQ(ClassOf(window), "KLOKAN_99");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Retempo [I]");

    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, 576);
    EXPECT_EQ(frame.bottom - frame.top, 413 + GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 576) / 2);

    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
}

TEST_F(Klokan99Window, ControlsSitAtTheirPlaces)
{
    Start(-1);
    const int xs[] = {20, 165, 245, 325, 405, 485};
    for (int list = 0; list < 6; ++list) {
        SCOPED_TRACE(list);
        HWND control = GetDlgItem(window, 102 + list);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control, g_dateTimeLists[list]);
        EXPECT_EQ(ClassOf(control), "ComboBox");
        LONG style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
        EXPECT_TRUE(style & CBS_OWNERDRAWFIXED);
        EXPECT_TRUE(style & CBS_HASSTRINGS);
        Box box = ChildBox(window, control);
        EXPECT_EQ(box.x, xs[list]);
        EXPECT_EQ(box.y, 55);
        EXPECT_EQ(box.width, list == 0 ? 130 : 65);
    }
    HWND check = GetDlgItem(window, 108);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(GetWindowLongA(check, GWL_STYLE) & BS_TYPEMASK, BS_CHECKBOX);
    Box box = ChildBox(window, check);
    EXPECT_EQ(box.x, 425);
    EXPECT_EQ(box.y, 85);
    EXPECT_EQ(box.width, 14);
    EXPECT_EQ(box.height, 14);

    RECT client;
    GetClientRect(window, &client);
    HWND container = FindListContainer(window);
    ASSERT_NE(container, nullptr);
    box = ChildBox(window, container);
    EXPECT_EQ(box.x, 0);
    EXPECT_EQ(box.y, 105);
    EXPECT_EQ(box.width, client.right);
    EXPECT_EQ(box.height, client.bottom - 105);
}

TEST_F(Klokan99Window, EnglishLabelsArePaintedOnTheButtonFace)
{
    Start(0);
    Repaint(window);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 0, 0), face);
    ReleaseDC(window, dc);
    EXPECT_TRUE(HasInk(window, {20, 9, 80, 22}, face));     // "File Location:"
    EXPECT_TRUE(HasInk(window, {22, 39, 50, 52}, face));    // "Year"
    EXPECT_TRUE(HasInk(window, {20, 85, 200, 98}, face));   // the hint line
    EXPECT_TRUE(HasInk(window, {445, 85, 520, 98}, face));  // "Include subfolders."
    EXPECT_FALSE(HasInk(window, {2, 25, 18, 50}, face));    // left margin
    EXPECT_FALSE(HasInk(window, {440, 85, 445, 98}, face)); // between box and label
}

TEST_F(Klokan99Window, NtFamilyLiftsTheHintLineAndTheBoxLabel)
{
    Start(0);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    // "Year" keeps its place in both families; the capitals of the hint line
    // and of the box label start 46 rows below it on 9x, 44 on NT.
    auto offsets = [&](int kind) {
        g_windowsKind = kind;
        Repaint(window);
        int year = TopInkRow(window, {22, 30, 50, 60}, face);
        return std::make_pair(TopInkRow(window, {20, 80, 30, 100}, face) - year,
                              TopInkRow(window, {445, 80, 455, 100}, face) - year);
    };
    EXPECT_EQ(offsets(0), std::make_pair(46, 46));
    EXPECT_EQ(offsets(6), std::make_pair(44, 44));
    g_windowsKind = 0;
    // The check box stays where it is.
    EXPECT_EQ(ChildBox(window, GetDlgItem(window, 108)).y, 85);
}

TEST_F(Klokan99Window, JapaneseMovesTheCheckBoxAndItsLabelLeft)
{
    Start(1);
    Repaint(window);
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    Box box = ChildBox(window, GetDlgItem(window, 108));
    EXPECT_EQ(box.x, 417);
    EXPECT_EQ(box.y, 85);
    EXPECT_TRUE(HasInk(window, {440, 85, 445, 98}, face));  // the label starts at 437
    EXPECT_TRUE(HasInk(window, {20, 10, 80, 23}, face));
    EXPECT_TRUE(HasInk(window, {22, 40, 36, 53}, face));
    g_japaneseMode = 0;
}

TEST_F(Klokan99Window, StartsInTheRootOfItsOwnDrive)
{
    Start(-1);
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring root(own, 3);
    for (wchar_t &c : root) c = static_cast<wchar_t>(towupper(c));
    EXPECT_TRUE(g_currentFolder == root);
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_TRUE(std::wstring(current) == root);

    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_TRUE(g_myDocumentsPath == std::wstring(windows, 3) + L"My Documents");
}

TEST_F(Klokan99Window, DriveListAnswersOnlyASelectionChange)
{
    Start(-1);
    EXPECT_NE(FindCommandHandler(MAKEWPARAM(101, CBN_SELCHANGE)), nullptr);
    EXPECT_EQ(FindCommandHandler(MAKEWPARAM(101, CBN_DROPDOWN)), nullptr);
    EXPECT_EQ(FindCommandHandler(MAKEWPARAM(101, CBN_SETFOCUS)), nullptr);
    // 109 is accepted and ignored; the bar commands run whatever the code.
    EXPECT_EQ(FindCommandHandler(MAKEWPARAM(109, 0)), nullptr);
    SendMessageA(window, WM_COMMAND, 109, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(101, CBN_DROPDOWN), 0);
    DrainMessages();
    EXPECT_FALSE(TakeQuitMessage());
    for (int id = 110; id <= 115; ++id)
        EXPECT_NE(FindCommandHandler(MAKEWPARAM(id, 7)), nullptr) << id;
}

} // namespace
