// Files and folders dropped onto the drop list.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "drop_list.h"
#include "icon_bar.h"
#include "main_window.h"
#include "messages.h"
#include "report_box.h"
#include "run_feedback.h"
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

// Names each dropped item that could not be listed, with its reason, and
// how many were left out because the list was full.
void ShowDropNotAdded(HWND mainWindow, const std::vector<NotChangedItem> &notAdded, UINT leftOut)
{
    ReportText text;
    text.shown = text.whole = MessageText(Msg::DropNotAdded);
    std::vector<std::wstring> lines;
    for (const NotChangedItem &item : notAdded)
        lines.push_back(FillPlaceholders(MessageText(Msg::ReportItem), {item.path, ReasonText(item)}));
    AppendReportLines(text, lines);
    if (leftOut > 0) {
        const std::wstring full = FillPlaceholders(MessageText(Msg::DropListFull), {GroupedCount(leftOut)});
        text.shown += full;
        text.whole += full;
    }
    ShowReport(mainWindow, Msg::DropNotAdded, text);
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
    std::vector<NotChangedItem> notAdded;
    UINT i = 0;
    for (; i < count && g_dropListCount < kDropListMaxRows; ++i) {
        const std::wstring path = ReadDroppedPath(drop, i);
        NotChanged why = NotChanged::Refused;
        if (!path.empty() && !AddDropListItem(path, &why)) notAdded.push_back({path, why, std::wstring()});
    }
    const UINT leftOut = count - i;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    DragFinish(drop);
    // A drop that added nothing leaves the date-time lists as they were.
    g_dropListHasItems = 1;
    UpdateDropButtons(g_dropListHasItems);
    HWND mainWindow = GetParent(container);
    SetForegroundWindow(mainWindow);
    // After the drop, not inside it: the shell waits for the drop to end.
    if (!notAdded.empty() || leftOut > 0) ShowDropNotAdded(mainWindow, notAdded, leftOut);
}
