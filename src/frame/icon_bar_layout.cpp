#include "icon_bar_layout.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

int CaptionButtonAt(const IconBarLayout &bar, int x)
{
    for (int n = 1; n <= kBarButtons; ++n) {
        const int left = bar.barX + bar.buttons[n - 1].x;
        if (x > left && x <= left + kBarButtonWidth) return n;
    }
    return 0;
}

CaptionArea CaptionBoxFor(const IconBarLayout &bar, int n, const CaptionMetrics &m)
{
    CaptionArea box;
    box.left = m.cxBorder + bar.barX + bar.buttons[n - 1].x + 1;
    box.top = m.cyCaption + m.buttonTop + 32;
    box.right = box.left + m.textWidth + m.extraWidth + 5;
    box.bottom = box.top + m.externalLeading + m.textHeight + 6;
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

void BitmapName(const char *base, int windowsKind, ButtonState state, char *out)
{
    std::memset(out, 0, kBitmapNameSize);
    const char *stateText = state == ButtonState::Up ? "Up" : state == ButtonState::Dn ? "Dn" : "In";
    // Bases are at most 6 characters, so the name always fits; the bounds keep it so.
    std::snprintf(out, kBitmapNameSize, "%.*s%s%s", static_cast<int>(kBitmapNameSize - 4), base,
                  SkinSuffix(windowsKind), stateText);
}
