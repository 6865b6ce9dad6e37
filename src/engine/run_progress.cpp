#include "run_progress.h"

#include <windows.h>

#include "item_access.h"
#include "journal.h"
#include "subtree_walk.h"

BetweenItems g_betweenItems = nullptr;

// Messages are looked at every 50 ms: often enough for a window that
// answers, rarely enough to cost nothing beside the items.
unsigned g_betweenItemsEveryMs = 50;

namespace {

struct RunCourse {
    bool going = false;
    bool stopped = false;
    std::size_t done = 0, total = 0;
    DWORD lastLook = 0;
} g_course;

}  // namespace

void BeginRunProgress(std::size_t total)
{
    g_course = RunCourse();
    g_course.going = true;
    g_course.total = total;
    g_course.lastLook = GetTickCount();
    if (g_betweenItems) g_betweenItems(0, total);
}

bool NextRunItem()
{
    if (g_course.stopped) return false;
    if (JournalBroken()) {
        g_course.stopped = true;
        return false;
    }
    if (g_betweenItems && GetTickCount() - g_course.lastLook >= g_betweenItemsEveryMs) {
        g_course.lastLook = GetTickCount();
        if (!g_betweenItems(g_course.done, g_course.total)) {
            g_course.stopped = true;
            return false;
        }
    }
    ++g_course.done;
    return true;
}

bool RunStopped() { return g_course.stopped; }
std::size_t RunItemsDone() { return g_course.done; }
std::size_t RunItemsTotal() { return g_course.total; }
bool RunGoingOn() { return g_course.going; }

void EndRunProgress()
{
    g_course.going = false;
}

std::size_t CountEntriesBelow(const std::wstring &folder, const std::wstring &ownProgramPath,
                              bool foldersLeftOut)
{
    // A linked folder's contents belong elsewhere: no run goes into them.
    if (IsLinkItem(folder)) return 0;
    std::size_t count = 0;
    WalkSubtree(
        folder, ownProgramPath,
        [&count, foldersLeftOut](const std::wstring &, bool isFolder) {
            if (!(isFolder && foldersLeftOut)) ++count;
            return true;
        },
        [](const std::wstring &) { return true; });
    return count;
}
