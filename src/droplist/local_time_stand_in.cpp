// Stands in for the engine's conversion until the engine is merged.
#include "drop_list_outside.h"

bool FileTimeToLocalTime(const FILETIME &utc, SYSTEMTIME *local)
{
    FILETIME localFile;
    SYSTEMTIME out;
    if (!FileTimeToLocalFileTime(&utc, &localFile) || !FileTimeToSystemTime(&localFile, &out))
        return false;
    *local = out;
    return true;
}
