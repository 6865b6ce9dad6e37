// The main window laid out at the larger display scales: every control
// inside the client area, none over another, and every painted label's text
// ending before the next control. Compiled into each program's window test;
// the DPI is forced, so one prefix checks every scale.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "date_time_selector.h"
#include "display_scale.h"
#include "gui_test_support.h"
#include "icon_bar.h"
#include "labels_layout.h"
#include "language.h"
#include "main_window.h"
#include "program_table.h"
#include "scoped_gdi.h"

namespace {

struct Placed {
    std::string what;
    RECT rect;
};

std::string Describe(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           "," + std::to_string(r.bottom) + ")";
}

RECT InClient(HWND mainWindow, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// The visible controls a user sees side by side: the main window's own
// children, with the bar replaced by its buttons.
std::vector<Placed> VisibleControls(HWND mainWindow)
{
    std::vector<Placed> controls;
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (child == g_hIconBar) {
            for (const IconBarButton &button : g_iconBarButtons)
                controls.push_back({std::string("bar button ") + button.upName, InClient(mainWindow, button.window)});
            continue;
        }
        controls.push_back({std::string(name) + " " + std::to_string(GetDlgCtrlID(child)), InClient(mainWindow, child)});
    }
    return controls;
}

// Each painted label as far as its text reaches in the label font.
std::vector<Placed> PaintedLabels(HWND mainWindow)
{
    std::vector<Placed> labels;
    ScopedWindowDC dc(mainWindow);
    ScopedSelectedFont font(dc.get(), TextFont());
    for (int i = 0; i < g_program.labelCount; ++i) {
        const PaintedLabel &label = g_program.labels[i];
        const wchar_t *text = LabelText(label);
        SIZE extent{};
        GetTextExtentPoint32W(dc.get(), text, static_cast<int>(std::wcslen(text)), &extent);
        const POINT at = LabelPlace(label);
        labels.push_back({"label " + std::to_string(i), {at.x, at.y, at.x + extent.cx, at.y + extent.cy}});
    }
    return labels;
}

bool Inside(const RECT &inner, const RECT &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT &a, const RECT &b)
{
    RECT common;
    return IntersectRect(&common, &a, &b) != 0;
}

struct LayoutCase {
    int dpi;
    int languageMode;
    bool moved;  // opened at 96 DPI, then taken to a monitor of this DPI
};

class ScaledLayout : public ::testing::TestWithParam<LayoutCase> {
protected:
    void SetUp() override
    {
        ASSERT_EQ(MissingLabelFont(), "");
        ForceDpi(GetParam().moved ? kBaseDpi : GetParam().dpi);
        g_japaneseMode = 0;
        window = CreateStartedMainWindow(GetParam().languageMode);
        ASSERT_NE(window, nullptr);
        ASSERT_EQ(g_controlsReady, 1);
        if (GetParam().moved) MoveToScale(GetParam().dpi);
    }
    // What the system sends when the window reaches a monitor of that DPI:
    // a suggested place whose client area is the old one at the new scale.
    void MoveToScale(int dpi)
    {
        ASSERT_EQ(g_dpi, kBaseDpi);
        ForceDpi(dpi);
        RECT frame, client;
        GetWindowRect(window, &frame);
        GetClientRect(window, &client);
        // At the top left of the screen, where the whole window is seen.
        suggested = {0, 0, ScaleFor(client.right, dpi) + (frame.right - frame.left - client.right),
                     ScaleFor(client.bottom, dpi) + (frame.bottom - frame.top - client.bottom)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        DrainMessages();
    }
    void TearDown() override
    {
        DestroyMainWindow(window);
        ForceDpi(0);
        g_japaneseMode = 0;
    }
    HWND window = nullptr;
    RECT suggested{};
};

TEST_P(ScaledLayout, ControlsAndLabelsFitTheClientAreaWithoutOverlap)
{
    EXPECT_EQ(g_dpi, GetParam().dpi);
    RECT client;
    GetClientRect(window, &client);
    const std::vector<Placed> controls = VisibleControls(window);
    const std::vector<Placed> labels = PaintedLabels(window);
    // The lists, the box, the bar's six buttons and the list's container at least.
    ASSERT_GE(controls.size(), 14u);

    std::vector<Placed> all = controls;
    all.insert(all.end(), labels.begin(), labels.end());
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_TRUE(Inside(all[i].rect, client)) << all[i].what << " " << Describe(all[i].rect)
                                                 << " leaves the client area " << Describe(client);
        for (size_t j = i + 1; j < all.size(); ++j)
            EXPECT_FALSE(Overlap(all[i].rect, all[j].rect))
                << all[i].what << " " << Describe(all[i].rect) << " overlaps " << all[j].what << " "
                << Describe(all[j].rect);
    }
}

TEST_P(ScaledLayout, SizesGrowWithTheScale)
{
    const int dpi = GetParam().dpi;
    if (GetParam().moved) {
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_TRUE(EqualRect(&frame, &suggested)) << Describe(frame) << " is not " << Describe(suggested);
    }
    // The rows of the lists, measured at creation, are measured again.
    EXPECT_EQ(SendMessageW(g_dateTimeLists[0], CB_GETITEMHEIGHT, 0, 0), ScaleFor(14, dpi));
    RECT list;
    GetWindowRect(g_dateTimeLists[0], &list);
    EXPECT_EQ(list.right - list.left, ScaleFor(130, dpi));
    LOGFONTW font = TextFont();
    EXPECT_GT(font.lfHeight, 15);
    RECT client;
    GetClientRect(window, &client);
    if (g_program.heightRule == WindowHeightRule::Client)
        EXPECT_EQ(client.bottom, ScaleFor(g_program.windowHeight, dpi));  // whatever the caption
    else
        EXPECT_GE(client.bottom, ScaleFor(g_program.windowHeight - 6, dpi));
}

// Each button draws the bitmaps made for the scale, at their own size: the
// button is as large as its bitmap and its black bottom-right edge is drawn
// at the button's edge, not cut off or left out.
TEST_P(ScaledLayout, BarButtonsDrawTheBitmapsOfTheirScale)
{
    const char *tag = GetParam().dpi >= 192 ? "20" : GetParam().dpi >= 144 ? "15" : "";
    for (const IconBarButton &button : g_iconBarButtons) {
        SCOPED_TRACE(button.upName);
        const std::string name = button.upName;
        ASSERT_GE(name.size(), std::strlen(tag));
        EXPECT_EQ(name.substr(name.size() - std::strlen(tag)), tag);
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), button.upName);
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        DeleteObject(bitmap);
        RECT face;
        GetClientRect(button.window, &face);
        EXPECT_EQ(face.right, info.bmWidth);
        EXPECT_EQ(face.bottom, info.bmHeight);

        if (!IsWindowEnabled(button.window)) continue;
        InvalidateRect(button.window, nullptr, TRUE);
        UpdateWindow(button.window);
        HDC dc = GetDC(button.window);
        EXPECT_EQ(GetPixel(dc, face.right - 1, face.bottom / 2), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc, 0, face.bottom / 2), RGB(255, 255, 255));
        ReleaseDC(button.window, dc);
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledLayout,
                         ::testing::Values(LayoutCase{144, 0, false}, LayoutCase{144, 1, false},
                                           LayoutCase{192, 0, false}, LayoutCase{192, 1, false},
                                           LayoutCase{120, 0, false}, LayoutCase{144, 0, true},
                                           LayoutCase{192, 1, true}),
                         [](const ::testing::TestParamInfo<LayoutCase> &info) {
                             return "Dpi" + std::to_string(info.param.dpi) +
                                    (info.param.languageMode ? "Japanese" : "English") +
                                    (info.param.moved ? "Moved" : "");
                         });

}  // namespace
