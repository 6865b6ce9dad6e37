// The rules of the bar that need no window: caption zones at their boundary
// pixels, the caption box, the save-area clip, fonts and bitmap names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "icon_bar_layout.h"

TEST(CaptionZones, Klokan99BoundaryColumns)
{
    const IconBarLayout &bar = g_klokan99IconBar;
    EXPECT_EQ(0, CaptionButtonAt(bar, 347));  // the bar's own left column names no button
    EXPECT_EQ(1, CaptionButtonAt(bar, 348));
    EXPECT_EQ(1, CaptionButtonAt(bar, 379));
    // The gap after Up One Level: a shown caption goes away there.
    for (int x = 380; x <= 390; ++x) EXPECT_EQ(0, CaptionButtonAt(bar, x)) << x;
    EXPECT_EQ(2, CaptionButtonAt(bar, 391));
    EXPECT_EQ(2, CaptionButtonAt(bar, 422));
    EXPECT_EQ(3, CaptionButtonAt(bar, 423));
    EXPECT_EQ(5, CaptionButtonAt(bar, 518));
    EXPECT_EQ(6, CaptionButtonAt(bar, 519));
    EXPECT_EQ(6, CaptionButtonAt(bar, 550));
    EXPECT_EQ(0, CaptionButtonAt(bar, 551));
    EXPECT_EQ(550, BarZoneEnd(bar));
}

TEST(CaptionZones, Klokan98IsAdjacentWithoutGap)
{
    const IconBarLayout &bar = g_klokan98IconBar;
    EXPECT_EQ(0, CaptionButtonAt(bar, 358));
    for (int n = 1; n <= kBarButtons; ++n) {
        const int left = 358 + 32 * (n - 1);
        EXPECT_EQ(n, CaptionButtonAt(bar, left + 1)) << n;
        EXPECT_EQ(n, CaptionButtonAt(bar, left + 32)) << n;
    }
    EXPECT_EQ(0, CaptionButtonAt(bar, 551));
    EXPECT_EQ(550, BarZoneEnd(bar));
}

TEST(CaptionZones, BandExcludesTheButtonEdges)
{
    EXPECT_FALSE(InButtonBand(5, 5));
    EXPECT_TRUE(InButtonBand(6, 5));
    EXPECT_TRUE(InButtonBand(24, 5));
    EXPECT_FALSE(InButtonBand(25, 5));
}

TEST(ButtonTables, IdsCommandsAndPositions)
{
    const int ids99[] = {116, 117, 118, 119, 120, 121};
    const int commands99[] = {110, 111, 112, 113, 114, 115};
    const int ids98[] = {113, 114, 115, 116, 117, 118};
    const int commands98[] = {107, 108, 109, 110, 111, 112};
    for (int i = 0; i < kBarButtons; ++i) {
        EXPECT_EQ(ids99[i], g_klokan99IconBar.buttons[i].id);
        EXPECT_EQ(commands99[i], g_klokan99IconBar.buttons[i].command);
        EXPECT_EQ(ids98[i], g_klokan98IconBar.buttons[i].id);
        EXPECT_EQ(commands98[i], g_klokan98IconBar.buttons[i].command);
        EXPECT_EQ(32 * i, g_klokan98IconBar.buttons[i].x);
        // Only Delete Files, Delete All and Change Timestamp of the drop list wait for rows.
        EXPECT_EQ(i >= 1 && i <= 3, g_klokan98IconBar.buttons[i].needsDropItems) << i;
        EXPECT_FALSE(g_klokan99IconBar.buttons[i].needsDropItems) << i;
    }
    // The six buttons of klokan99 span 203 pixels: one 11-pixel gap, none elsewhere.
    EXPECT_EQ(203, g_klokan99IconBar.buttons[5].x + kBarButtonWidth);
    EXPECT_EQ(43, g_klokan99IconBar.buttons[1].x);
}

TEST(CaptionBox, PlacedBelowItsButton)
{
    const CaptionMetrics m{1, 19, 5, 80, 14, 2, 2};
    const CaptionArea box = CaptionBoxFor(g_klokan99IconBar, 2, m);
    EXPECT_EQ(1 + 347 + 43 + 1, box.left);
    EXPECT_EQ(19 + 5 + 32, box.top);
    EXPECT_EQ(box.left + 80 + 2 + 5, box.right);
    EXPECT_EQ(box.top + 2 + 14 + 6, box.bottom);

    const CaptionMetrics m98{1, 19, 1, 60, 12, 0, 1};
    const CaptionArea box98 = CaptionBoxFor(g_klokan98IconBar, 6, m98);
    EXPECT_EQ(1 + 358 + 160 + 1, box98.left);
    EXPECT_EQ(1 + 19 + 32, box98.top);
}

TEST(CaptionBox, SaveAreaNeverExceedsTheBuffer)
{
    const CaptionArea small{400, 50, 480, 70};
    const CaptionArea same = ClipToSaveArea(small);
    EXPECT_EQ(480, same.right);
    EXPECT_EQ(70, same.bottom);

    // A wide, tall box (another font or system metrics) keeps its top-left corner.
    const CaptionArea large{400, 50, 400 + kCaptionSaveColumns + 70, 50 + kCaptionSaveRows + 15};
    const CaptionArea clipped = ClipToSaveArea(large);
    EXPECT_EQ(400, clipped.left);
    EXPECT_EQ(50, clipped.top);
    EXPECT_EQ(kCaptionSaveColumns, clipped.right - clipped.left + 1);
    EXPECT_EQ(kCaptionSaveRows, clipped.bottom - clipped.top + 1);

    // Exactly the buffer's size stays whole.
    const CaptionArea exact{10, 10, 10 + kCaptionSaveColumns - 1, 10 + kCaptionSaveRows - 1};
    EXPECT_EQ(exact.right, ClipToSaveArea(exact).right);
    EXPECT_EQ(exact.bottom, ClipToSaveArea(exact).bottom);
}

TEST(CaptionFonts, ByLanguageAndFamily)
{
    const CaptionFont japanese = CaptionFontFor(1, 6);
    EXPECT_EQ(12, japanese.height);
    EXPECT_EQ(128, japanese.charSet);
    EXPECT_STREQ(L"ＭＳゴシック", japanese.face);
    EXPECT_EQ(1, japanese.extraWidth);

    const CaptionFont nt = CaptionFontFor(0, 3);
    EXPECT_EQ(14, nt.height);
    EXPECT_EQ(1, nt.offsetX);
    EXPECT_EQ(-1, nt.offsetY);
    const CaptionFont nineX = CaptionFontFor(0, 2);
    EXPECT_EQ(12, nineX.height);
    EXPECT_EQ(0, nineX.offsetX);
    EXPECT_EQ(255, nineX.charSet);
}

TEST(BitmapNames, SkinByWindowsKind)
{
    char name[kBitmapNameSize];
    BitmapName("DirUp", 2, ButtonState::Up, name);
    EXPECT_STREQ("DirUp9Up", name);
    BitmapName("Attrb", 5, ButtonState::Dn, name);
    EXPECT_STREQ("AttrbXDn", name);
    BitmapName("DelItm", 4, ButtonState::In, name);
    EXPECT_STREQ("DelItm8In", name);
    for (int kind : {0, 1, 3, 6, 7}) {
        BitmapName("Exit", kind, ButtonState::In, name);
        EXPECT_STREQ("ExitIn", name) << kind;
    }
    // The longest name fits with its terminator.
    BitmapName("DelItm", 5, ButtonState::Up, name);
    EXPECT_STREQ("DelItmXUp", name);
    EXPECT_LT(std::strlen(name), static_cast<size_t>(kBitmapNameSize));
}

// ---- display scales

TEST(DisplayScale, LengthsRoundToTheNearestPixelAndBitmapsAreNeverLarger)
{
    struct Case {
        int value, dpi, scaled;
    } cases[] = {{15, 96, 15}, {15, 144, 23}, {14, 144, 21}, {15, 120, 19}, {43, 144, 65},
                 {407, 192, 814}, {-3, 144, -5}, {0, 192, 0}};
    for (const Case &c : cases) EXPECT_EQ(c.scaled, ScaleFor(c.value, c.dpi)) << c.value << " at " << c.dpi;

    // The bitmaps of the largest scale not above the DPI's own.
    struct Art {
        int dpi, percent;
    } arts[] = {{96, 100}, {120, 100}, {143, 100}, {144, 150}, {168, 150}, {191, 150},
                {192, 200}, {288, 200}};
    for (const Art &a : arts) {
        EXPECT_EQ(a.percent, ArtPercentFor(a.dpi)) << a.dpi;
        // So a button never outgrows the step to the next one's place.
        EXPECT_LE(BarButtonWidthAt(a.dpi), ScaleFor(kBarButtonWidth, a.dpi)) << a.dpi;
        EXPECT_LE(BarButtonHeightAt(a.dpi), ScaleFor(kBarButtonHeight, a.dpi)) << a.dpi;
    }
}

TEST(DisplayScale, CaptionZonesAndBoxFollowTheScaledBar)
{
    const IconBarLayout &bar = g_klokan99IconBar;
    // At 150 %: the bar at 521 (347 * 1.5), buttons 48 wide at 0, 65, 113, ...
    EXPECT_EQ(0, CaptionButtonAt(bar, 521, 144));
    EXPECT_EQ(1, CaptionButtonAt(bar, 522, 144));
    EXPECT_EQ(1, CaptionButtonAt(bar, 569, 144));
    EXPECT_EQ(0, CaptionButtonAt(bar, 570, 144));  // the gap after Up One Level
    EXPECT_EQ(2, CaptionButtonAt(bar, 521 + 65 + 1, 144));
    EXPECT_EQ(6, CaptionButtonAt(bar, BarZoneEnd(bar, 144), 144));
    EXPECT_EQ(0, CaptionButtonAt(bar, BarZoneEnd(bar, 144) + 1, 144));
    EXPECT_EQ(2 * 550, BarZoneEnd(bar, 192));
    EXPECT_TRUE(InButtonBand(5 + 29, 5, 144));
    EXPECT_FALSE(InButtonBand(5 + 30, 5, 144));
    EXPECT_GE(BarWidthAt(bar, 144), BarButtonX(bar, kBarButtons, 144) + BarButtonWidthAt(144));

    CaptionMetrics m{1, 38, 9, 160, 28, 4, 4};
    m.dpi = 192;
    const CaptionArea box = CaptionBoxFor(bar, 2, m);
    EXPECT_EQ(1 + 694 + 86 + 1, box.left);
    EXPECT_EQ(38 + 9 + 64, box.top);
    EXPECT_EQ(box.left + 160 + 4 + 10, box.right);
    EXPECT_EQ(box.top + 4 + 28 + 12, box.bottom);
}

TEST(BitmapNames, LargerScalesCarryTheirTagAndStillFit)
{
    char name[kBitmapNameSize];
    BitmapName("Klkn", 5, ButtonState::Up, name, 150);
    EXPECT_STREQ("KlknXUp15", name);
    BitmapName("DirUp", 0, ButtonState::Dn, name, 200);
    EXPECT_STREQ("DirUpDn20", name);
    BitmapName("DelItm", 5, ButtonState::In, name, 200);
    EXPECT_STREQ("DelItmXIn20", name);
    BitmapName("Exit", 2, ButtonState::Up, name, 100);
    EXPECT_STREQ("Exit9Up", name);
}
