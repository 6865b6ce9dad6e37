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
    bool counting = false;
    bool stopped = false;
    bool brokeOff = false;
    std::size_t counted = 0, done = 0, total = 0;
    DWORD lastLook = 0;
} g_course;

// The window's turn, at most every g_betweenItemsEveryMs; false once it
// asks the run to stop.
bool WindowsTurn(std::size_t done, std::size_t total)
{
    if (!g_betweenItems || GetTickCount() - g_course.lastLook < g_betweenItemsEveryMs) return true;
    g_course.lastLook = GetTickCount();
    if (g_betweenItems(done, total)) return true;
    g_course.stopped = true;
    return false;
}

}  // namespace

void BeginRunProgress()
{
    g_course = RunCourse();
    g_course.going = true;
    g_course.counting = true;
    // The first look comes at once: the window shows the run from its start.
    g_course.lastLook = GetTickCount() - g_betweenItemsEveryMs;
}

bool NextCountedItem()
{
    if (g_course.stopped) return false;
    if (!WindowsTurn(g_course.counted, 0)) return false;
    ++g_course.counted;
    return true;
}

std::size_t RunItemsCounted() { return g_course.counted; }

void SetRunTotal(std::size_t total)
{
    g_course.counting = false;
    g_course.total = total;
    g_course.lastLook = GetTickCount() - g_betweenItemsEveryMs;
}

void RaiseRunTotal()
{
    if (g_course.going && !g_course.counting) ++g_course.total;
}

bool NextRunItem()
{
    if (g_course.stopped || g_course.brokeOff) return false;
    if (JournalBroken()) {
        g_course.brokeOff = true;
        return false;
    }
    if (!WindowsTurn(g_course.done, g_course.total)) return false;
    ++g_course.done;
    // An item no count foresaw never shows as more done than there are.
    if (g_course.done > g_course.total) g_course.total = g_course.done;
    return true;
}

bool RunStopped() { return g_course.stopped; }
bool RunBrokeOff() { return g_course.brokeOff; }
bool RunHalted() { return g_course.stopped || g_course.brokeOff; }
std::size_t RunItemsDone() { return g_course.done; }
std::size_t RunItemsTotal() { return g_course.total; }
std::size_t RunItemsLeft() { return g_course.total > g_course.done ? g_course.total - g_course.done : 0; }
bool RunGoingOn() { return g_course.going; }
bool RunCounting() { return g_course.going && g_course.counting; }

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
            if (isFolder && foldersLeftOut) return true;
            if (!NextCountedItem()) return false;
            ++count;
            return true;
        },
        [](const std::wstring &, NotChanged) { return true; });
    return count;
}
