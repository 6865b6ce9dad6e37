#include "run_report.h"

namespace {

struct RunReport {
    std::size_t changed = 0;
    std::vector<NotChangedItem> notChanged;
} g_report;

}  // namespace

void BeginRunReport()
{
    g_report = RunReport();
}

void ReportChanged()
{
    ++g_report.changed;
}

void ReportNotChanged(const std::wstring &path, NotChanged reason, const std::wstring &where)
{
    g_report.notChanged.push_back({path, reason, where});
}

NotChanged ReasonOfError(DWORD error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return NotChanged::Held;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return NotChanged::AccessDenied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return NotChanged::Gone;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
    case ERROR_FILENAME_EXCED_RANGE: return NotChanged::UnreachableName;
    case ERROR_CANT_RESOLVE_FILENAME: return NotChanged::LinkUnsettled;
    case ERROR_WRITE_PROTECT:
    case ERROR_NOT_READY:
    case ERROR_NOT_SUPPORTED:
    case ERROR_DISK_FULL: return NotChanged::VolumeRefused;
    default: return NotChanged::Refused;
    }
}

std::size_t ItemsChanged()
{
    return g_report.changed;
}

const std::vector<NotChangedItem> &ItemsNotChanged()
{
    return g_report.notChanged;
}
