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
    switch (report) {
    case kReportMissingItem:
        RecordFailureReason(kReasonMissingItem);
        break;
    case kReportLimit1980:
        RecordFailureReason(kReasonLimit1980);
        break;
    case kReportTemporaryName:
        RecordFailureReason(kReasonTemporaryName);
        break;
    case kReportLeftBehind:
        break;
    }
}
