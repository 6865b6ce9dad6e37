// Change Timestamp of klokan98: every row is checked on its own, no refusal
// stops the run, and one message at the end names the last kind of refusal.
#include "drop_timestamp_run.h"

#include <string>
#include <vector>

#include "date_time_selector.h"
#include "drop_list.h"
#include "item_access.h"
#include "path_text.h"
#include "local_time.h"
#include "main_window.h"
#include "messages.h"
#include "recreate_writer.h"
#include "run_feedback.h"
#include "report_box.h"
#include "run_progress.h"
#include "run_report.h"
#include "target_time.h"
#include "timestamp_command.h"
#include "timestamp_items.h"
#include "change_run.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

int DropListRows()
{
    return g_hDropListView ? static_cast<int>(SendMessageW(g_hDropListView, LVM_GETITEMCOUNT, 0, 0))
                           : 0;
}

void ChangeRow(int row)
{
    const std::wstring full = ReadDropRowPath(row);
    if (full.empty()) {
        g_runStatus += 1;
        return;
    }
    const std::wstring root = RootOf(full);
    const UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR || type == DRIVE_REMOTE ||
        type == DRIVE_CDROM) {
        ReportNotChanged(full, NotChanged::VolumeRefused);
        RecordFailureReason(kReasonDriveKind);
        return;
    }
    // A removable drive without its medium must not put up the system's box.
    const bool removable = type == DRIVE_REMOVABLE;
    const UINT previousMode = removable ? SetErrorMode(SEM_FAILCRITICALERRORS) : 0;
    const int space = HasFreeSpace(root, (type == DRIVE_REMOVABLE || type == DRIVE_RAMDISK) ? 0 : 1);
    if (removable) SetErrorMode(previousMode);
    if (space != kFreeSpaceEnough) {
        ReportNotChanged(full, NotChanged::VolumeRefused);
        if (space == kFreeSpaceShort)
            RecordFailureReason(kReasonFreeSpace);
        else
            g_runStatus += 1;
        return;
    }
    // An item gone since the drop is reported, not passed over as changed;
    // one that is there but cannot be read is a failure of its own.
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadItemData(full, &data)) {
        const DWORD error = GetLastError();
        ReportNotChanged(full, ReasonOfError(error));
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            RecordFailureReason(kReasonMissingItem);
        else
            g_runStatus += 1;
        return;
    }
    DetectNtfs(root);
    // Refused before anything in the folder is touched.
    if (FolderRefusedAt1980(full)) {
        ReportNotChanged(full, NotChanged::VolumeRefused);
        RecordFailureReason(kReasonLimit1980);
        return;
    }
    // The contents first, so that nothing done inside the folder renews its times.
    if (g_includeSubfolders == 1) ChangeSubtreeTimestamps(full);
    if (!NextRunItem()) return;
    // A dropped link whose own times cannot be had is not passed over as
    // changed; nor is the program's own file under another name.
    const ItemWrite result = WriteTimestampChosen(full);
    if (result == ItemWrite::LinkLeftAlone) ReportNotChanged(full, NotChanged::ChosenLink);
    if (result == ItemWrite::LinkLeftAlone || result == ItemWrite::OwnProgram) g_runStatus += 1;
}

// The closing message: its first lines by the last kind of refusal, as the
// program has always said them, then what changed and what did not and why.
void ShowRunResult(HWND mainWindow)
{
    if (g_failureReason == kReasonNone && g_runStatus == 1 && ItemsNotChanged().empty()) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        RefreshListColumns();
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        ShowMessage(mainWindow, Msg::Succeeded);
        return;
    }
    Msg first = Msg::Failed;
    switch (g_failureReason) {
    case kReasonNone: break;
    case kReasonDriveKind: first = Msg::FailedDriveKind; break;
    case kReasonFreeSpace: first = Msg::FailedFreeSpace; break;
    case kReasonLimit1980: first = Msg::FailedLimit1980; break;
    case kReasonTemporaryName: first = Msg::FailedTemporaryName; break;
    case kReasonLeftBehind: first = Msg::FailedLeftBehind; break;
    default: first = Msg::FailedMissing; break;
    }
    std::wstring firstText = MessageText(first);
    if (first == Msg::FailedLeftBehind) {
        // Every folder whose entries stayed in a temporary folder, each named.
        firstText = MessageText(Msg::Failed);
        for (const LeftBehind &left : g_leftBehind)
            firstText += FillPlaceholders(MessageText(Msg::LeftBehindFolder), {left.folder, left.temporary});
    }
    ShowReport(mainWindow, first, RunReportText(firstText, ItemsChanged(), ItemsNotChanged()));
}

}  // namespace

void TimestampChangeCommand(HWND mainWindow)
{
    ReadTargetTime();
    if (ConfirmTimestampChange(mainWindow)) RunTimestampChange(mainWindow);
}

void RunTimestampChange(HWND mainWindow)
{
    const int rows = DropListRows();
    if (rows <= 0) {
        ShowMessage(mainWindow, Msg::NoFileAssigned);
        return;
    }
    g_savedCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    g_runStatus = 1;
    g_failureReason = kReasonNone;
    g_leftBehind.clear();
    g_clockNotPutBack = 0;
    ForgetVolumeAnswers();
    ForgetFinalPathCache();
    std::vector<std::wstring> chosen;
    for (int row = 0; row < rows; ++row) {
        const std::wstring path = ReadDropRowPath(row);
        if (!path.empty()) chosen.push_back(path);
    }
    const RunEnd end = RunWithJournal(
        mainWindow, JournalKind::Timestamp, TimestampAfter, chosen,
        [&] { return CountRunItems(chosen, g_includeSubfolders == 1); },
        [&] {
            for (int row = 0; row < rows && !RunHalted(); ++row) ChangeRow(row);
        });
    RestoreArrowCursor();
    if (end == RunEnd::Refused) return;
    if (end == RunEnd::BrokeOff) {
        if (g_clockNotPutBack) ShowClockNotPutBack(mainWindow);
        RefreshListColumns();
        return;
    }
    if (end == RunEnd::Stopped) {
        if (g_clockNotPutBack) ShowClockNotPutBack(mainWindow);
        RefreshListColumns();
        ShowStoppedMessage(mainWindow);
        return;
    }
    // A clock left wrong is told first: it matters more than any item.
    if (g_clockNotPutBack) ShowClockNotPutBack(mainWindow);
    ShowRunResult(mainWindow);
}

void RefreshListColumns()
{
    const int rows = DropListRows();
    for (int row = 0; row < rows; ++row) {
        const std::wstring full = ReadDropRowPath(row);
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (full.empty() || !ReadItemData(full, &data)) continue;
        char modified[kDateTimeTextSize];
        FormatItemTime(data.ftLastWriteTime, TimeRuleForPath(full), modified);
        if (!modified[0]) continue;
        const std::wstring text = WidenAscii(modified);
        LVITEMW item = {};
        item.iSubItem = kColModified;
        item.pszText = const_cast<wchar_t *>(text.c_str());
        SendMessageW(g_hDropListView, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
}

void RefreshAfterUndo(HWND)
{
    RefreshListColumns();
}
