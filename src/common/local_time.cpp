#include "local_time.h"

bool LocalTimeToFileTime(const SYSTEMTIME &local, FILETIME *utc)
{
    FILETIME localFileTime;
    FILETIME result;
    if (!SystemTimeToFileTime(&local, &localFileTime)) return false;
    if (!LocalFileTimeToFileTime(&localFileTime, &result)) return false;
    *utc = result;
    return true;
}

bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local)
{
    FILETIME localFileTime;
    SYSTEMTIME result;
    if (!FileTimeToLocalFileTime(&utc, &localFileTime)) return false;
    if (!FileTimeToSystemTime(&localFileTime, &result)) return false;
    *local = result;
    return true;
}
