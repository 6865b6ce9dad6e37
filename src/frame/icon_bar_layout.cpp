#include "icon_bar_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

int BarWidthAt(const IconBarLayout &bar, int dpi)
{
    return std::max(ScaleFor(bar.barWidth, dpi), BarButtonX(bar, kBarButtons, dpi) + BarButtonWidthAt(dpi));
}

int CaptionButtonAt(const IconBarLayout &bar, int x, int dpi)
{
    const int width = BarButtonWidthAt(dpi);
    for (int n = 1; n <= kBarButtons; ++n) {
        const int left = BarLeft(bar, dpi) + BarButtonX(bar, n, dpi);
        if (x > left && x <= left + width) return n;
    }
    return 0;
}

CaptionArea CaptionBoxFor(const IconBarLayout &bar, int n, const CaptionMetrics &m)
{
    CaptionArea box;
    // Below the button, as far as at 96 DPI in proportion; the margins
    // around the text grow with the scale too.
    box.left = m.cxBorder + BarLeft(bar, m.dpi) + BarButtonX(bar, n, m.dpi) + 1;
    box.top = m.cyCaption + m.buttonTop + ScaleFor(32, m.dpi);
    box.right = box.left + m.textWidth + m.extraWidth + ScaleFor(5, m.dpi);
    box.bottom = box.top + m.externalLeading + m.textHeight + ScaleFor(6, m.dpi);
    return box;
}

CaptionArea ClipToSaveArea(const CaptionArea &box)
{
    CaptionArea area = box;
    area.right = std::min(box.right, box.left + kCaptionSaveColumns - 1);
    area.bottom = std::min(box.bottom, box.top + kCaptionSaveRows - 1);
    return area;
}

CaptionFont CaptionFontFor(int japaneseMode, int windowsKind)
{
    if (japaneseMode) return {12, 128, L"ＭＳゴシック", 0, 0, 1};
    // The NT family draws its system fonts larger; the box follows.
    if (windowsKind >= 3) return {14, 255, L"Helv", 1, -1, 2};
    return {12, 255, L"Helv", 0, -1, 2};
}

const char *SkinSuffix(int windowsKind)
{
    switch (windowsKind) {
    case 2: return "9";
    case 4: return "8";
    case 5: return "X";
    default: return "";
    }
}

void BitmapName(const char *base, int windowsKind, ButtonState state, char *out, int artPercent)
{
    std::memset(out, 0, kBitmapNameSize);
    const char *stateText = state == ButtonState::Up ? "Up" : state == ButtonState::Dn ? "Dn" : "In";
    // Bases are at most 6 characters, so the name always fits; the bounds keep it so.
    const char *scaleTag = artPercent >= 200 ? "20" : artPercent >= 150 ? "15" : "";
    std::snprintf(out, kBitmapNameSize, "%.*s%s%s%s", static_cast<int>(kBitmapNameSize - 6), base,
                  SkinSuffix(windowsKind), stateText, scaleTag);
}
