#include "timestamp_command.h"

void TimestampChangeCommand(HWND)
{
    // The change itself is not built yet.
}
