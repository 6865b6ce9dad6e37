// klokan99: a refusal of the rebuild stops the run and is shown at once,
// owned by the main window.
#include "main_window.h"
#include "messages.h"
#include "recreate_writer.h"
#include "timestamp_command.h"
#include "timestamp_writer.h"

void ReportRecreate(RecreateReport report, const std::wstring &path, const std::wstring &temporary)
{
    HWND owner = g_hMainWnd;
    g_runStatus = 0;
    RestoreArrowCursor();
    switch (report) {
    case kReportMissingItem: ShowMessageFormatted(owner, Msg::MissingItem, {path}); break;
    case kReportLimit1980: ShowMessage(owner, Msg::Limit1980); break;
    case kReportTemporaryName: ShowMessage(owner, Msg::TemporaryName); break;
    case kReportLeftBehind: ShowMessageFormatted(owner, Msg::EntriesLeftBehind, {path, temporary}); break;
    case kReportClockNotPutBack: ShowClockNotPutBack(owner); break;
    }
}
