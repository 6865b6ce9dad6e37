#include "timestamp_command.h"

#include "messages.h"
#include "path_text.h"
#include "platform_seams.h"

HCURSOR g_savedCursor = nullptr;

std::wstring BuildConfirmationText(const DateTime &target)
{
    char when[kDateTimeTextSize];
    FormatDateTime(target.year, target.month, target.day, target.hour, target.minute,
                   target.second, when);
    std::wstring text = FillPlaceholders(MessageText(Msg::Confirmation), {WidenAscii(when)});
    // The line is shown whatever volume the items are on: the user learns
    // before the change what a FAT volume will keep.
    if (target.second % 2 != 0)
        text += FillPlaceholders(MessageText(Msg::ConfirmationFatLine),
                                 {std::to_wstring(target.second), std::to_wstring(target.second - 1)});
    return text;
}

bool ConfirmTimestampChange(HWND owner)
{
    return ShowMessageText(owner, Msg::Confirmation,
                           BuildConfirmationText(ReadTimeFields(g_targetTime))) == IDYES;
}

void RestoreArrowCursor()
{
    if (GetCursor() != g_savedCursor) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void ShowClockNotPutBack(HWND owner)
{
    SYSTEMTIME now = {};
    g_platform.getClock(&now);
    char shown[kDateTimeTextSize];
    FormatDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, shown);
    ShowMessageFormatted(owner, Msg::ClockNotPutBack, {WidenAscii(shown)});
}
