// Files and folders dropped onto the drop list.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "drop_list.h"
#include "icon_bar.h"
#include "main_window.h"
#include "run_progress.h"

namespace {

// Dropped path number index exactly as the shell gives it, whatever its
// length; empty when it cannot be read.
std::wstring ReadDroppedPath(HDROP drop, UINT index)
{
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0) return std::wstring();
    std::wstring path(length + 1, L'\0');
    if (DragQueryFileW(drop, index, &path[0], length + 1) != length) return std::wstring();
    path.resize(length);
    return path;
}

}  // namespace

void OnDropFiles(HWND container, HDROP drop)
{
    // Rows added under a run (while its stop question is up, say) would not
    // be in its journal: refused.
    if (RunGoingOn()) {
        DragFinish(drop);
        return;
    }
    if (g_dropListHasItems == 0) g_dropListCount = 0;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    for (UINT i = 0; i < count && g_dropListCount < kDropListMaxRows; ++i) {
        const std::wstring path = ReadDroppedPath(drop, i);
        if (!path.empty()) AddDropListItem(path);
    }
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    DragFinish(drop);
    // A drop that added nothing leaves the date-time lists as they were.
    g_dropListHasItems = 1;
    UpdateDropButtons(g_dropListHasItems);
    SetForegroundWindow(GetParent(container));
}
