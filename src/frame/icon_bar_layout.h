#pragma once
// What the button bar and its hover captions need to know about one program,
// and the pure rules built on it: which button a pointer position names, where
// a caption box lies, how large an area its saved pixels can hold, and the
// bitmap names of each skin. No window system here, so the rules are tested
// on their own. Places and sizes are given for 96 DPI; the rules take the
// DPI the bar is laid out for.

#include "display_scale.h"

constexpr int kBarButtons = 6;
constexpr int kBarButtonWidth = 32;
constexpr int kBarButtonHeight = 20;
// The pixels under a caption are kept in a fixed buffer of this many columns
// and rows: room for a caption with its key at twice the normal scale.
constexpr int kCaptionSaveColumns = 400;
constexpr int kCaptionSaveRows = 60;
// Bitmap names are at most 11 characters and a terminator.
constexpr int kBitmapNameSize = 12;

struct IconBarButtonEntry {
    int id;                       // control id of the button, a child of the bar
    int x;                        // left edge within the bar
    int command;                  // command id sent to the main window
    const char *base;             // bitmap name before skin and state
    const wchar_t *englishCaption;
    const wchar_t *japaneseCaption;
    bool needsDropItems;          // enabled only while the drop list holds rows
};

struct IconBarLayout {
    IconBarButtonEntry buttons[kBarButtons];
    int barX;                // left edge of the bar in the main window's client area
    int barWidth;            // width given at placement
    int barHeightExtra;      // bar height = SM_CYBORDER + this
    int buttonTopExtra;      // button top = SM_CYBORDER + this
};

// Bar tables of the two programs (src/browser, src/droplist).
extern const IconBarLayout g_klokan99IconBar;
extern const IconBarLayout g_klokan98IconBar;

// A button's size at a DPI: that of the bitmaps drawn for it (ArtPercentFor).
inline int BarButtonWidthAt(int dpi) { return kBarButtonWidth * ArtPercentFor(dpi) / 100; }
inline int BarButtonHeightAt(int dpi) { return kBarButtonHeight * ArtPercentFor(dpi) / 100; }

// Left edge of button n (1..6) within the bar, and of the bar in the client area.
inline int BarButtonX(const IconBarLayout &bar, int n, int dpi) { return ScaleFor(bar.buttons[n - 1].x, dpi); }
inline int BarLeft(const IconBarLayout &bar, int dpi) { return ScaleFor(bar.barX, dpi); }

// The bar's width: its own, scaled, and never less than its buttons need.
int BarWidthAt(const IconBarLayout &bar, int dpi);

// Right edge of the last caption zone: a pointer beyond it names no button.
inline int BarZoneEnd(const IconBarLayout &bar, int dpi = kBaseDpi)
{
    return BarLeft(bar, dpi) + BarButtonX(bar, kBarButtons, dpi) + BarButtonWidthAt(dpi);
}

// The button (1..6) whose caption zone holds client column x, or 0. A zone
// runs from just right of the button's left edge to its right edge included,
// so the bar's own left column and the gap after a spaced button name none.
int CaptionButtonAt(const IconBarLayout &bar, int x, int dpi = kBaseDpi);

// True when client row y lies strictly inside the band of the buttons.
inline bool InButtonBand(int y, int buttonTop, int dpi = kBaseDpi)
{
    return y > buttonTop && y < buttonTop + BarButtonHeightAt(dpi);
}

// A caption area in window-DC coordinates; both ends of each range are included.
struct CaptionArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

inline bool IsEmpty(const CaptionArea &area) { return area.left == 0; }

struct CaptionMetrics {
    int cxBorder;        // SM_CXBORDER
    int cyCaption;       // SM_CYCAPTION
    int buttonTop;       // client row of the buttons' top edge
    int textWidth;       // GetTextExtentPoint32W
    int textHeight;      // tmHeight
    int externalLeading; // tmExternalLeading
    int extraWidth;      // of the caption font
    int dpi = kBaseDpi;  // the bar's layout
};

// The box below button n (1..6) as it is drawn: Rectangle(left, top, right, bottom).
CaptionArea CaptionBoxFor(const IconBarLayout &bar, int n, const CaptionMetrics &m);

// The part of a box whose pixels can be saved: at most kCaptionSaveColumns
// columns and kCaptionSaveRows rows from its top-left corner. Drawing is
// clipped to this same area, so putting the saved pixels back restores
// every pixel the caption changed.
CaptionArea ClipToSaveArea(const CaptionArea &box);

// The caption font of a language and windows kind.
struct CaptionFont {
    int height;
    int charSet;
    const wchar_t *face;
    int offsetX;
    int offsetY;
    int extraWidth;
};
CaptionFont CaptionFontFor(int japaneseMode, int windowsKind);

// Skin suffix of a windows kind: "9" (Me), "8" (2000), "X" (XP, Server 2003), else "".
const char *SkinSuffix(int windowsKind);

enum class ButtonState { Up, Dn, In };

// base + skin + state into out (kBitmapNameSize bytes, zero-filled first),
// and the scale's tag above 100 % ("15" for 150 %, "20" for 200 %).
void BitmapName(const char *base, int windowsKind, ButtonState state, char *out,
                int artPercent = 100);
