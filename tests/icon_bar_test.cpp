// The bar on the real main window, for whichever program the test is linked
// with: captions and the pixels under them, clicks, drawing by state, and
// that every bitmap the bar asks for is in the program's resources.
#include <gtest/gtest.h>

#include <string>

#include "bar_test_support.h"
#include "gui_test_support.h"
#include "icon_bar.h"
#include "keyboard_table.h"
#include "language.h"
#include "modal_answerer.h"
#include "program_table.h"

namespace {

class IconBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_japaneseMode = 0;
        window_ = CreateStartedMainWindow();
        ASSERT_TRUE(window_);
        ASSERT_TRUE(g_hIconBar);
        Activate(window_);
        Repaint(window_);
    }
    void TearDown() override
    {
        if (g_captionState) RemoveHoverCaption(window_);
        g_japaneseMode = 0;
        DestroyMainWindow(window_);
    }
    const IconBarLayout &Bar() const { return CurrentIconBar(); }
    // A client point in the middle of the caption zone of button n.
    int ZoneMiddle(int n) const { return Bar().barX + Bar().buttons[n - 1].x + 16; }
    int BandMiddle() const { return BarButtonTop() + 10; }
    // Every window-DC pixel a caption of any button could touch, with a margin.
    RECT CaptionRegion() const
    {
        const int left = GetSystemMetrics(SM_CXBORDER) + Bar().barX - 8;
        const int top = GetSystemMetrics(SM_CYCAPTION) + BarButtonTop() + 32 - 8;
        return {left, top, left + 203 + kCaptionSaveColumns + 16, top + kCaptionSaveRows + 16};
    }

    HWND window_ = nullptr;
};

TEST_F(IconBarTest, CaptionFollowsThePointerAndPutsEveryPixelBack)
{
    for (int japanese : {0, 1}) {
        SCOPED_TRACE(japanese ? "Japanese" : "English");
        g_japaneseMode = japanese;
        const PixelSnapshot before = SnapshotWindowPixels(window_, CaptionRegion());

        HoverAt(window_, ZoneMiddle(2), BandMiddle());
        ASSERT_EQ(2, g_captionState);
        const RECT shown = g_captionRect;
        EXPECT_LE(shown.right - shown.left + 1, kCaptionSaveColumns);
        EXPECT_LE(shown.bottom - shown.top + 1, kCaptionSaveRows);
        HDC dc = GetWindowDC(window_);
        // A black frame around a white box.
        EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, shown.left, shown.top));
        EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, shown.left + 1, shown.bottom - 2));
        ReleaseDC(window_, dc);
        EXPECT_GT(CountDifferences(before, SnapshotWindowPixels(window_, CaptionRegion())), 0);

        // Straight to the next button: the box moves without a removal in between.
        HoverAt(window_, ZoneMiddle(3), BandMiddle());
        EXPECT_EQ(3, g_captionState);
        EXPECT_NE(shown.left, g_captionRect.left);
        // The caption names the button's key as well.
        const std::wstring expected =
            CaptionWithKey(japanese ? Bar().buttons[2].japaneseCaption : Bar().buttons[2].englishCaption,
                           Bar().buttons[2].command, g_program.keys, g_program.keyCount);
        EXPECT_NE(std::wstring::npos, expected.find(L"(Ctrl+"));
        EXPECT_TRUE(expected == g_captionText);

        RemoveHoverCaption(window_);
        EXPECT_EQ(0, g_captionState);
        EXPECT_EQ(0, g_captionRect.left);
        EXPECT_EQ(0, CountDifferences(before, SnapshotWindowPixels(window_, CaptionRegion())));
    }
}

TEST_F(IconBarTest, LeavingTheBandOrTheBarRemovesTheCaption)
{
    const PixelSnapshot before = SnapshotWindowPixels(window_, CaptionRegion());
    HoverAt(window_, ZoneMiddle(6), BandMiddle());
    ASSERT_EQ(6, g_captionState);
    HoverAt(window_, ZoneMiddle(6), BarButtonTop() + 20);  // just below the band
    EXPECT_EQ(0, g_captionState);
    EXPECT_EQ(0, CountDifferences(before, SnapshotWindowPixels(window_, CaptionRegion())));

    HoverAt(window_, ZoneMiddle(1), BandMiddle());
    ASSERT_EQ(1, g_captionState);
    HoverAt(window_, Bar().barX, BandMiddle());  // the bar's own left column
    EXPECT_EQ(0, g_captionState);
    EXPECT_EQ(0, CountDifferences(before, SnapshotWindowPixels(window_, CaptionRegion())));

    // Removing when nothing is shown changes nothing.
    RemoveHoverCaption(window_);
    EXPECT_EQ(0, CountDifferences(before, SnapshotWindowPixels(window_, CaptionRegion())));
}

TEST_F(IconBarTest, NoCaptionWhileAModalBoxIsOpen)
{
    int stateInBox = -1;
    BOOL enabledInBox = TRUE;
    {
        ModalAnswerer answerer([&](HWND box) {
            enabledInBox = IsWindowEnabled(window_);
            HoverAt(window_, ZoneMiddle(2), BandMiddle());
            stateInBox = g_captionState;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        MessageBoxA(window_, "modal", "test", MB_OK);
    }
    EXPECT_FALSE(enabledInBox);
    EXPECT_EQ(0, stateInBox);
    // Once the box is gone the caption comes back.
    Activate(window_);
    HoverAt(window_, ZoneMiddle(2), BandMiddle());
    EXPECT_EQ(2, g_captionState);
}

TEST_F(IconBarTest, EachButtonSendsItsCommandOnceAndADisabledOneNone)
{
    UpdateDropButtons(1);
    CommandRecorder recorder(window_, Bar().buttons[0].command, Bar().buttons[5].command);
    for (int i = 0; i < kBarButtons; ++i) {
        SCOPED_TRACE(Bar().buttons[i].englishCaption);
        HWND button = g_iconBarButtons[i].window;
        ASSERT_TRUE(button);
        EXPECT_EQ(Bar().buttons[i].id, GetDlgCtrlID(button));

        recorder.Clear();
        SendMessageA(button, BM_CLICK, 0, 0);
        DrainMessages();
        ASSERT_EQ(1u, recorder.Commands().size());
        EXPECT_EQ(Bar().buttons[i].command, recorder.Commands()[0]);

        // A double click reports twice and runs twice: once per notification.
        recorder.Clear();
        SendMessageA(g_hIconBar, WM_COMMAND, MAKEWPARAM(Bar().buttons[i].id, BN_DOUBLECLICKED),
                     reinterpret_cast<LPARAM>(button));
        EXPECT_EQ(1u, recorder.Commands().size());

        recorder.Clear();
        EnableWindow(button, FALSE);
        SendMessageA(button, BM_CLICK, 0, 0);
        SendMessageA(g_hIconBar, WM_COMMAND, MAKEWPARAM(Bar().buttons[i].id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        DrainMessages();
        EXPECT_TRUE(recorder.Commands().empty());
        EnableWindow(button, TRUE);
    }
    // Ids that are no button of the bar are ignored.
    recorder.Clear();
    SendMessageA(g_hIconBar, WM_COMMAND, MAKEWPARAM(999, BN_CLICKED), 0);
    EXPECT_TRUE(recorder.Commands().empty());
}

// The button's pixels against the bitmap of the given name.
int PixelsUnlike(HWND button, const char *bitmapName)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), bitmapName);
    if (!bitmap) return -1;
    HDC screen = GetDC(button);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    int unlike = 0;
    for (int y = 0; y < kBarButtonHeight; ++y)
        for (int x = 0; x < kBarButtonWidth; ++x)
            if (GetPixel(screen, x, y) != GetPixel(memory, x, y)) ++unlike;
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(button, screen);
    DeleteObject(bitmap);
    return unlike;
}

TEST_F(IconBarTest, ButtonsDrawTheirStateBitmaps)
{
    UpdateDropButtons(1);
    for (int i = 0; i < kBarButtons; ++i) {
        SCOPED_TRACE(g_iconBarButtons[i].upName);
        HWND button = g_iconBarButtons[i].window;
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(0, PixelsUnlike(button, g_iconBarButtons[i].upName));

        SendMessageA(button, BM_SETSTATE, TRUE, 0);
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(0, PixelsUnlike(button, g_iconBarButtons[i].downName));
        SendMessageA(button, BM_SETSTATE, FALSE, 0);

        EnableWindow(button, FALSE);
        RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(0, PixelsUnlike(button, g_iconBarButtons[i].inactiveName));
        EnableWindow(button, TRUE);
    }
    // The bar's top row keeps the button face.
    HDC dc = GetDC(g_hIconBar);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, 5, 0));
    ReleaseDC(g_hIconBar, dc);
}

TEST(IconBarBitmaps, EveryNameOfEverySkinIsAResourceOf32By20)
{
    const IconBarLayout &bar = CurrentIconBar();
    for (int kind : {0, 2, 4, 5}) {
        for (const IconBarButtonEntry &button : bar.buttons) {
            for (ButtonState state : {ButtonState::Up, ButtonState::Dn, ButtonState::In}) {
                char name[kBitmapNameSize];
                BitmapName(button.base, kind, state, name);
                HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), name);
                ASSERT_TRUE(bitmap) << name;
                BITMAP info{};
                GetObjectA(bitmap, sizeof info, &info);
                EXPECT_EQ(kBarButtonWidth, info.bmWidth) << name;
                EXPECT_EQ(kBarButtonHeight, info.bmHeight) << name;
                DeleteObject(bitmap);
            }
        }
    }
}

}  // namespace
