#include "timestamp_items.h"

#include "change_run.h"
#include "item_access.h"
#include "run_progress.h"
#include "run_report.h"
#include "subtree_walk.h"
#include "timestamp_writer.h"

void ChangeSubtreeTimestamps(const std::wstring &path)
{
    // A linked folder's contents belong elsewhere.
    if (IsLinkItem(path)) return;
    WalkSubtree(
        path, g_programPath,
        [](const std::wstring &entry, bool) {
            if (!NextRunItem()) return false;
            WriteTimestampChosen(entry);
            return true;
        },
        [](const std::wstring &unreached, NotChanged reason) {
            ReportNotChanged(unreached, reason);
            g_runStatus += 1;
            return true;
        },
        WalkOrder::ContentsFirst);
}
