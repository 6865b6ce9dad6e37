#include "timestamp_items.h"

#include "item_access.h"
#include "subtree_walk.h"
#include "timestamp_run.h"
#include "timestamp_writer.h"

void ChangeSubtreeTimestamps(const char *path)
{
    // A linked folder's contents belong elsewhere.
    if (IsLinkItem(path)) return;
    WalkSubtree(
        path, g_programPath,
        [](const char *entry, bool) {
            WriteTimestampChosen(nullptr, entry);
            return true;
        },
        [](const char *, const char *) {
            g_runStatus += 1;
            return true;
        },
        WalkOrder::ContentsFirst);
}
