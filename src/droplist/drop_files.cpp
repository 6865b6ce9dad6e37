// Files and folders dropped onto the drop list.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "drop_list.h"
#include "date_time_selector.h"
#include "local_time.h"
#include "icon_bar.h"
#include "main_window.h"
#include "platform_seams.h"

namespace {

// Converts a wide path to the process code page; false (out cleared) when a
// character has no exact form there or the result does not fit the list.
bool SpellInCodePage(const wchar_t *wide, char (&out)[kDropPathSize])
{
    std::memset(out, 0, sizeof out);
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out,
                                            kListTextChars, nullptr, &usedDefault);
    if (written <= 0 || usedDefault) {
        std::memset(out, 0, sizeof out);
        return false;
    }
    return true;
}

// Dropped path number index as a path the ANSI functions reach, or false.
// The drop is read as wide text: a name the code page cannot spell is then
// reached through its short form instead of a look-alike with "?" in it.
bool ReadDroppedPath(HDROP drop, UINT index, char (&path)[kDropPathSize])
{
    std::memset(path, 0, sizeof path);
    // Asked for its length first: a path that does not fit is skipped whole, never cut.
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0 || length >= static_cast<UINT>(kListTextChars)) return false;
    wchar_t wide[kListTextChars] = {};
    if (DragQueryFileW(drop, index, wide, kListTextChars) != length) return false;
    if (SpellInCodePage(wide, path)) return true;
    wchar_t shortForm[kListTextChars] = {};
    const DWORD shortLength = g_platform.shortPath(wide, shortForm, kListTextChars);
    if (shortLength == 0 || shortLength >= static_cast<DWORD>(kListTextChars)) return false;
    return SpellInCodePage(shortForm, path);
}

}  // namespace

void OnDropFiles(HWND container, HDROP drop)
{
    if (g_dropListHasItems == 0) g_dropListCount = 0;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    for (UINT i = 0; i < count && g_dropListCount < kDropListMaxRows; ++i) {
        char path[kDropPathSize];
        if (ReadDroppedPath(drop, i, path)) AddDropListItem(path);
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    DragFinish(drop);
    // A drop that added nothing leaves the date-time lists as they were.
    g_dropListHasItems = 1;
    UpdateDropButtons(g_dropListHasItems);
    SetForegroundWindow(GetParent(container));
}
