#include "labels_layout.h"

#include <cwchar>

#include "date_time_selector.h"
#include "display_scale.h"
#include "icon_bar.h"
#include "language.h"
#include "main_window.h"
#include "program_table.h"
#include "scoped_gdi.h"

namespace {

// Left edges and widths of the year, month, day, hour, minute and second lists.
constexpr int kListX[kTimeFieldCount] = {20, 165, 245, 325, 405, 485};
constexpr int kListWidth[kTimeFieldCount] = {130, 65, 65, 65, 65, 65};
// Closed box together with its drop-down part.
constexpr int kListHeight = 200;
constexpr int kCheckBoxSize = 14;

void CreateDateTimeLists(HWND mainWindow)
{
    for (int list = 0; list < kTimeFieldCount; ++list) {
        const RECT place = DateTimeListPlace(list);
        HWND control = CreateWindowExW(
            0, L"COMBOBOX", L"",
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                CBS_HASSTRINGS,
            place.left, place.top, place.right - place.left, place.bottom - place.top, mainWindow,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(g_program.firstListId + list)),
            g_hInstance, nullptr);
        ShowWindow(control, SW_SHOW);
        g_dateTimeLists[list] = control;
    }
}

void CreateIncludeBox(HWND mainWindow)
{
    // Not an automatic box: ToggleIncludeSubfolders flips it with the flag.
    // Its label is painted, so the control has no text.
    const RECT place = IncludeBoxPlace();
    g_hIncludeBox = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, place.left, place.top,
        place.right - place.left, place.bottom - place.top, mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(g_program.checkBoxId)),
        g_hInstance, nullptr);
    ShowWindow(g_hIncludeBox, SW_SHOW);
}

void CopyFaceName(LOGFONTW &font, const wchar_t *face)
{
    std::wmemset(font.lfFaceName, 0, LF_FACESIZE);
    std::wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
}

} // namespace

RECT DateTimeListPlace(int list)
{
    const int left = Scale(kListX[list]), top = Scale(g_program.listTop);
    return {left, top, left + Scale(kListWidth[list]), top + Scale(kListHeight)};
}

RECT IncludeBoxPlace()
{
    const int left = Scale(g_japaneseMode ? g_program.checkBoxXJapanese : g_program.checkBoxX);
    const int top = Scale(g_japaneseMode ? g_program.checkBoxYJapanese : g_program.checkBoxY);
    return {left, top, left + Scale(kCheckBoxSize), top + Scale(kCheckBoxSize)};
}

POINT LabelPlace(const PaintedLabel &label)
{
    if (g_japaneseMode) return {Scale(label.xJapanese), Scale(label.yJapanese)};
    return {Scale(label.x), Scale(IsNineXFamily(g_windowsKind) ? label.yEnglishNineX : label.yEnglishNt)};
}

const wchar_t *LabelText(const PaintedLabel &label)
{
    return g_japaneseMode ? label.japanese : label.english;
}

LOGFONTW TextFont()
{
    LOGFONTW font = {};
    font.lfWeight = FW_NORMAL;
    if (g_japaneseMode) {
        font.lfHeight = Scale(12);
        font.lfCharSet = SHIFTJIS_CHARSET;
        CopyFaceName(font, L"ＭＳ Ｐゴシック");
    } else {
        // The NT family renders this face smaller, so it gets the larger size.
        font.lfHeight = Scale(IsNineXFamily(g_windowsKind) ? 12 : 15);
        font.lfCharSet = OEM_CHARSET;
        CopyFaceName(font, L"Helv");
    }
    return font;
}

void PlaceIconBar()
{
    if (!g_hIconBar) return;
    HDWP positions = BeginDeferWindowPos(1);
    if (!positions) return;
    positions = DeferWindowPos(positions, g_hIconBar, nullptr, g_barX, 0,
                               BarWidthAt(*g_program.iconBar, g_dpi), g_barHeight,
                               SWP_NOZORDER | SWP_SHOWWINDOW);
    if (positions) EndDeferWindowPos(positions);
}

void CreateMainControls(HWND mainWindow)
{
    if (g_program.checkBoxFirst) {
        CreateIncludeBox(mainWindow);
        CreateDateTimeLists(mainWindow);
    } else {
        CreateDateTimeLists(mainWindow);
        CreateIncludeBox(mainWindow);
    }
}

void PaintLabels(HWND mainWindow)
{
    // The client DC, not the paint DC: every label is painted in full each time.
    ScopedWindowDC dc(mainWindow);
    if (!dc.get()) return;
    ScopedSelectedFont font(dc.get(), TextFont());
    SetBkMode(dc.get(), OPAQUE);
    SetBkColor(dc.get(), g_btnFaceColor);

    for (int i = 0; i < g_program.labelCount; ++i) {
        const PaintedLabel &label = g_program.labels[i];
        const POINT at = LabelPlace(label);
        const wchar_t *text = LabelText(label);
        TextOutW(dc.get(), at.x, at.y, text, static_cast<int>(std::wcslen(text)));
    }
}

namespace {

constexpr wchar_t kNamingLabelClass[] = L"STATIC";

}  // namespace

void NameControlsByLabels(HWND mainWindow)
{
    for (int i = 0; i < g_program.namedControlCount; ++i) {
        const NamedControl &named = g_program.namedControls[i];
        HWND control = GetDlgItem(mainWindow, named.controlId);
        if (!control || named.labelIndex < 0 || named.labelIndex >= g_program.labelCount) continue;
        // Never shown (the label is painted), so it changes nothing on the
        // screen; accessibility takes the text of the static just before a
        // control without a name of its own as that control's name.
        HWND label = CreateWindowExW(0, kNamingLabelClass, LabelText(g_program.labels[named.labelIndex]),
                                     WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, mainWindow, nullptr,
                                     g_hInstance, nullptr);
        if (!label) continue;
        HWND before = GetWindow(control, GW_HWNDPREV);
        SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

HWND NamingLabelOf(HWND control)
{
    HWND label = control ? GetWindow(control, GW_HWNDPREV) : nullptr;
    wchar_t name[16] = {};
    if (!label || !GetClassNameW(label, name, 15) || lstrcmpiW(name, kNamingLabelClass) != 0)
        return nullptr;
    return label;
}
