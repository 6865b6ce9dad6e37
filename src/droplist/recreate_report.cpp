// klokan98: a refusal of the rebuild is only recorded; the run goes on and
// its closing message names the last kind of refusal.
#include "change_run.h"
#include "recreate_writer.h"

void ReportRecreate(RecreateReport report, const std::wstring &path, const std::wstring &temporary)
{
    switch (report) {
    case kReportMissingItem: RecordFailureReason(kReasonMissingItem); break;
    case kReportLimit1980: RecordFailureReason(kReasonLimit1980); break;
    case kReportTemporaryName: RecordFailureReason(kReasonTemporaryName); break;
    case kReportLeftBehind:
        // Every such folder of the run is named at its end, not only the last.
        g_failureReason = kReasonLeftBehind;
        g_leftBehind.push_back({path, temporary});
        break;
    case kReportClockNotPutBack:  // told at the end of the run, from g_clockNotPutBack
        break;
    }
}
