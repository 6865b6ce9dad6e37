// klokan98's own main window: names, sizes, control places, labels and the
// bar commands that bring the lists back to the target time.
#include <gtest/gtest.h>

#include <string>

#include "date_time_selector.h"
#include "drop_list.h"
#include "gui_test_support.h"
#include "modal_answerer.h"
#include "language.h"
#include "list_container.h"
#include "main_window.h"
#include "modal_answerer.h"

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

class Klokan98Window : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(MissingLabelFont(), ""); }
    void Start(int languageMode)
    {
        g_japaneseMode = 0;
        g_windowsKind = 0;
        g_dropListHasItems = 1;
        g_dropListCount = 5;
        window = CreateStartedMainWindow(languageMode);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyMainWindow(window); }
    HWND window = nullptr;
};

TEST_F(Klokan98Window, HasItsNameTitleAndFixedSize)
{
    Start(-1);
    char text[64] = {};
    GetClassNameA(window, text, sizeof text);
    EXPECT_STREQ(text, "KLOKAN_98");
    GetWindowTextA(window, text, sizeof text);
    EXPECT_STREQ(text, "Retempo [II]");
    // The client area is 407 high whatever the caption; the frame adds its
    // own height (432 in all with the classic 19-pixel caption).
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    EXPECT_EQ(frame.right - frame.left, 576);
    EXPECT_EQ(client.bottom, 407);
    RECT expected = {0, 0, 576, 407};
    AdjustWindowRectEx(&expected, GetWindowLongA(window, GWL_STYLE), FALSE, 0);
    const int height = expected.bottom - expected.top;
    EXPECT_EQ(frame.bottom - frame.top, height);
    if (GetSystemMetrics(SM_CYCAPTION) == 19) {
        EXPECT_EQ(height, 432);
    }
    EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    // The drop list starts empty.
    EXPECT_EQ(g_dropListHasItems, 0);
    EXPECT_EQ(g_dropListCount, 0);
}

TEST_F(Klokan98Window, ControlsSitAtTheirPlaces)
{
    Start(1);  // the check box has one place in both languages
    const int xs[] = {20, 165, 245, 325, 405, 485};
    for (int list = 0; list < 6; ++list) {
        SCOPED_TRACE(list);
        HWND control = GetDlgItem(window, 101 + list);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control, g_dateTimeLists[list]);
        Box box = ChildBox(window, control);
        EXPECT_EQ(box.x, xs[list]);
        EXPECT_EQ(box.y, 45);
        EXPECT_EQ(box.width, list == 0 ? 130 : 65);
    }
    HWND check = GetDlgItem(window, 100);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(GetWindowLongA(check, GWL_STYLE) & BS_TYPEMASK, BS_CHECKBOX);
    Box box = ChildBox(window, check);
    EXPECT_EQ(box.x, 20);
    EXPECT_EQ(box.y, 6);
    EXPECT_EQ(box.width, 14);

    RECT client;
    GetClientRect(window, &client);
    HWND container = FindListContainer(window);
    ASSERT_NE(container, nullptr);
    EXPECT_TRUE(GetWindowLongA(container, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    box = ChildBox(window, container);
    EXPECT_EQ(box.y, 90);
    EXPECT_EQ(box.width, client.right);
    EXPECT_EQ(box.height, client.bottom - 90);
    g_japaneseMode = 0;
}

TEST_F(Klokan98Window, LabelsArePaintedInBothLanguages)
{
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int mode = 0; mode <= 1; ++mode) {
        SCOPED_TRACE(mode);
        Start(mode);
        Repaint(window);
        HDC dc = GetDC(window);
        EXPECT_EQ(GetPixel(dc, 0, 0), face);
        ReleaseDC(window, dc);
        EXPECT_TRUE(HasInk(window, {40, 4, 100, 18}, face));   // "Include subfolders."
        EXPECT_TRUE(HasInk(window, {22, 29, 40, 42}, face));   // "Year"
        EXPECT_TRUE(HasInk(window, {20, 72, 200, 86}, face));  // the drop hint
        EXPECT_FALSE(HasInk(window, {2, 25, 18, 44}, face));   // left margin
        DestroyMainWindow(window);
        window = nullptr;
    }
    g_japaneseMode = 0;
}

TEST_F(Klokan98Window, BarCommandsShowTheTargetTimeAgainButExitDoesNot)
{
    Start(-1);
    SYSTEMTIME other = {};
    other.wYear = 1999;
    other.wMonth = 12;
    other.wDay = 31;
    // A file window to bring forward, so that Execute Explorer starts nothing.
    WNDCLASSA explorerClass = {};
    explorerClass.lpfnWndProc = DefWindowProcA;
    explorerClass.hInstance = GetModuleHandleA(nullptr);
    explorerClass.lpszClassName = "ExploreWClass";
    RegisterClassA(&explorerClass);
    HWND explorer = CreateWindowExA(0, "ExploreWClass", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int id = 107; id <= 111; ++id) {
        ShowTimeInLists(other);
        ASSERT_EQ(SelectedEntry(kYear), 1999 - 1980);
        {
            // Change Timestamp asks first, and No changes nothing; About opens
            // its box, which Close ends.
            ModalAnswerer answer([](HWND box) {
                char caption[64] = {};
                GetWindowTextA(box, caption, sizeof caption - 1);
                const bool about = lstrcmpA(caption, "About") == 0;
                PostMessageA(box, WM_COMMAND, about ? IDOK : IDNO, 0);
            });
            SendMessageA(window, WM_COMMAND, id, 0);
        }
        EXPECT_EQ(SelectedEntry(kYear), ReadTimeField(g_targetTime[kYear]) - 1980) << id;
    }
    DestroyWindow(explorer);
    UnregisterClassA("ExploreWClass", GetModuleHandleA(nullptr));
    DrainMessages();
    EXPECT_FALSE(TakeQuitMessage());

    ShowTimeInLists(other);
    SendMessageA(window, WM_COMMAND, 112, 0);
    EXPECT_EQ(SelectedEntry(kYear), 1999 - 1980);
    DrainMessages();
    EXPECT_TRUE(TakeQuitMessage());
}

} // namespace
