#pragma once
// What the button bar and its hover captions need to know about one program,
// and the pure rules built on it: which button a pointer position names, where
// a caption box lies, how large an area its saved pixels can hold, and the
// bitmap names of each skin. No window system here, so the rules are tested
// on their own.

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

// Right edge of the last caption zone: a pointer beyond it names no button.
inline int BarZoneEnd(const IconBarLayout &bar)
{
    return bar.barX + bar.buttons[kBarButtons - 1].x + kBarButtonWidth;
}

// The button (1..6) whose caption zone holds client column x, or 0. A zone
// runs from just right of the button's left edge to its right edge included,
// so the bar's own left column and the gap after a spaced button name none.
int CaptionButtonAt(const IconBarLayout &bar, int x);

// True when client row y lies strictly inside the band of the buttons.
inline bool InButtonBand(int y, int buttonTop)
{
    return y > buttonTop && y < buttonTop + kBarButtonHeight;
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

// base + skin + state into out (kBitmapNameSize bytes, zero-filled first).
void BitmapName(const char *base, int windowsKind, ButtonState state, char *out);
