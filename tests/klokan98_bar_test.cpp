// The bar of klokan98: adjacent buttons from x 358, the three row commands
// that wait for rows, and Execute Explorer's held caption.
#include <gtest/gtest.h>

#include "about_expectations.h"
#include "bar_test_support.h"
#include "gui_test_support.h"
#include "icon_bar.h"

const char kReadmeName[] = "KLOKAN98.TXT";
const char kReadmeTitle[] = "KLOKAN98";
const wchar_t kVersionLine[] = L"Retempo (V 1.24)";
const wchar_t kVersionLineJapanese[] = L"レテンポ (V 1.24)";

namespace {

TEST(Klokan98Bar, CaptionAtTheBoundaryColumns)
{
    HWND window = CreateStartedMainWindow();
    ASSERT_TRUE(window);
    Activate(window);
    const int y = BarButtonTop() + 10;
    struct Step {
        int x;
        int state;
    };
    const Step steps[] = {{359, 1}, {358, 0}, {390, 1}, {391, 2}, {422, 2}, {423, 3},
                          {518, 5}, {519, 6}, {550, 6}, {551, 0}};
    for (const Step &step : steps) {
        HoverAt(window, step.x, y);
        EXPECT_EQ(step.state, g_captionState) << "x = " << step.x;
    }
    DestroyMainWindow(window);
}

TEST(Klokan98Bar, RowCommandsAreEnabledExactlyWhileTheListHasRows)
{
    HWND window = CreateStartedMainWindow();
    ASSERT_TRUE(window);
    const bool waitsForRows[] = {false, true, true, true, false, false};
    for (int i = 0; i < kBarButtons; ++i)
        EXPECT_NE(waitsForRows[i], IsWindowEnabled(g_iconBarButtons[i].window) != 0) << i;
    CommandRecorder recorder(window, 107, 112);
    SendMessageA(g_iconBarButtons[1].window, BM_CLICK, 0, 0);
    EXPECT_TRUE(recorder.Commands().empty());

    UpdateDropButtons(1);
    for (int i = 0; i < kBarButtons; ++i) EXPECT_TRUE(IsWindowEnabled(g_iconBarButtons[i].window)) << i;
    SendMessageA(g_iconBarButtons[1].window, BM_CLICK, 0, 0);
    ASSERT_EQ(1u, recorder.Commands().size());
    EXPECT_EQ(108, recorder.Commands()[0]);

    UpdateDropButtons(0);
    for (int i = 0; i < kBarButtons; ++i)
        EXPECT_NE(waitsForRows[i], IsWindowEnabled(g_iconBarButtons[i].window) != 0) << i;
    DestroyMainWindow(window);
}

TEST(Klokan98Bar, HeldCaptionStaysAwayUntilThePointerLeavesTheButton)
{
    HWND window = CreateStartedMainWindow();
    ASSERT_TRUE(window);
    Activate(window);
    const int y = BarButtonTop() + 10;
    HoverAt(window, 370, y);
    ASSERT_EQ(1, g_captionState);
    // What Execute Explorer does around its command.
    RemoveHoverCaption(window);
    HoldHoverCaption(1);
    HoverAt(window, 372, y);
    EXPECT_EQ(1, g_captionState);
    EXPECT_EQ(0, g_captionRect.left);  // nothing drawn again
    HoverAt(window, 551, y);           // leaving: the removal draws nothing
    EXPECT_EQ(0, g_captionState);
    HoverAt(window, 370, y);
    EXPECT_EQ(1, g_captionState);
    EXPECT_NE(0, g_captionRect.left);
    RemoveHoverCaption(window);
    DestroyMainWindow(window);
}

}  // namespace
