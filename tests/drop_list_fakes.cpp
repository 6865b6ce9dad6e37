// What the drop list calls in the main window, the date-time lists and the
// bar, recorded so the tests can tell what the list asked for.
#include "drop_list_fakes.h"

#include "drop_list_outside.h"

DropListCalls g_calls;

void ShowTimeInLists(const SYSTEMTIME &time)
{
    g_calls.shownTimes.push_back(time);
}

void ShowRememberedTime()
{
    ++g_calls.rememberedShown;
}

void UpdateDropButtons(int hasItems)
{
    g_calls.buttonStates.push_back(hasItems);
}

bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local)
{
    FILETIME localFile;
    SYSTEMTIME out;
    if (!FileTimeToLocalFileTime(&utc, &localFile) || !FileTimeToSystemTime(&localFile, &out))
        return false;
    *local = out;
    return true;
}
