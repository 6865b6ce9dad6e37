// The bar of klokan99 at its boundary pixels: the bar's left column, the gap
// after Up One Level and the right end.
#include <gtest/gtest.h>

#include "about_expectations.h"
#include "bar_test_support.h"
#include "gui_test_support.h"
#include "icon_bar.h"

const char kReadmeName[] = "KLOKAN99.TXT";
const char kReadmeTitle[] = "KLOKAN99";
const wchar_t kVersionLine[] = L"Retempo (V 1.33)";
const wchar_t kVersionLineJapanese[] = L"レテンポ (V 1.33)";

namespace {

TEST(Klokan99Bar, CaptionAtTheBoundaryColumns)
{
    HWND window = CreateStartedMainWindow();
    ASSERT_TRUE(window);
    Activate(window);
    const int y = BarButtonTop() + 10;
    struct Step {
        int x;
        int state;
    };
    // In this order: each step starts from the state the one before left.
    const Step steps[] = {{348, 1}, {347, 0}, {379, 1}, {380, 0}, {385, 0}, {390, 0},
                          {391, 2}, {423, 3}, {519, 6}, {550, 6}, {551, 0}, {348, 1},
                          {390, 0}};
    for (const Step &step : steps) {
        HoverAt(window, step.x, y);
        EXPECT_EQ(step.state, g_captionState) << "x = " << step.x;
    }
    // Outside the band rows nothing shows, even over a button.
    HoverAt(window, 400, BarButtonTop());
    EXPECT_EQ(0, g_captionState);
    HoverAt(window, 400, BarButtonTop() + 1);
    EXPECT_EQ(2, g_captionState);
    RemoveHoverCaption(window);
    DestroyMainWindow(window);
}

TEST(Klokan99Bar, NoButtonStartsDisabled)
{
    HWND window = CreateStartedMainWindow();
    ASSERT_TRUE(window);
    for (const IconBarButton &button : g_iconBarButtons) EXPECT_TRUE(IsWindowEnabled(button.window));
    // The drop list's switch leaves this bar alone.
    UpdateDropButtons(0);
    for (const IconBarButton &button : g_iconBarButtons) EXPECT_TRUE(IsWindowEnabled(button.window));
    DestroyMainWindow(window);
}

}  // namespace
