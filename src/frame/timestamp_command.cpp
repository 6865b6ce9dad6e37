#include "timestamp_command.h"

#include <cstdio>
#include <cstring>

#include "messages.h"

void BuildConfirmationText(const DateTime &target, char *out, std::size_t size)
{
    std::memset(out, 0, size);
    char when[kDateTimeTextSize];
    FormatDateTime(target.year, target.month, target.day, target.hour, target.minute,
                   target.second, when);
    int used = std::snprintf(out, size, MessageText(Msg::Confirmation), when);
    // The line is shown whatever volume the items are on: the user learns
    // before the change what a FAT volume will keep.
    if (target.second % 2 != 0 && used >= 0 && static_cast<std::size_t>(used) < size)
        std::snprintf(out + used, size - used, MessageText(Msg::ConfirmationFatLine),
                      target.second, target.second - 1);
}

bool ConfirmTimestampChange(HWND owner)
{
    char text[512];
    BuildConfirmationText(ReadTimeFields(g_targetTime), text, sizeof text);
    return ShowMessageText(owner, Msg::Confirmation, text) == IDYES;
}
