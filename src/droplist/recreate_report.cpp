// klokan98: a refusal of the rebuild is only recorded; the run goes on and
// its closing message names the last kind of refusal.
#include <cstring>

#include "recreate_writer.h"
#include "timestamp_run.h"

void ReportRecreate(HWND, RecreateReport report, const char *path, const char *temporary)
{
    if (report == kReportLeftBehind) {
        g_failureReason = kReasonLeftBehind;
        std::memset(g_leftBehindFolder, 0, sizeof g_leftBehindFolder);
        std::memset(g_leftBehindTemporary, 0, sizeof g_leftBehindTemporary);
        std::strncpy(g_leftBehindFolder, path, sizeof g_leftBehindFolder - 1);
        std::strncpy(g_leftBehindTemporary, temporary, sizeof g_leftBehindTemporary - 1);
        return;
    }
    // Where entries were left behind, that stays the news of the run.
    if (g_failureReason == kReasonLeftBehind) return;
    switch (report) {
    case kReportMissingItem:
        g_failureReason = kReasonMissingItem;
        break;
    case kReportLimit1980:
        g_failureReason = kReasonLimit1980;
        break;
    case kReportTemporaryName:
        g_failureReason = kReasonTemporaryName;
        break;
    case kReportLeftBehind:
        break;
    }
}
