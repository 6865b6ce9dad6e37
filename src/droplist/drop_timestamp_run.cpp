// Change Timestamp of klokan98: every row is checked on its own, no refusal
// stops the run, and one message at the end names the last kind of refusal.
#include "drop_timestamp_run.h"

#include <cstdio>
#include <cstring>

#include "date_time_selector.h"
#include "drop_list.h"
#include "item_names.h"
#include "local_time.h"
#include "main_window.h"
#include "messages.h"
#include "target_time.h"
#include "timestamp_command.h"
#include "timestamp_items.h"
#include "timestamp_run.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

int DropListRows()
{
    return g_hDropListView ? static_cast<int>(SendMessageA(g_hDropListView, LVM_GETITEMCOUNT, 0, 0))
                           : 0;
}

// Volume and file index of an item; false when it cannot be opened.
bool IdentifyItem(const char *path, BY_HANDLE_FILE_INFORMATION *info)
{
    HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, info) != FALSE;
    CloseHandle(h);
    return ok;
}

// The running program's own file, however the row spells it: a dropped
// short name does not equal the program path as text.
bool IsProgramFile(const char *full)
{
    if (lstrcmpiA(full, g_programPath) == 0) return true;
    BY_HANDLE_FILE_INFORMATION item = {}, program = {};
    return IdentifyItem(full, &item) && IdentifyItem(g_programPath, &program) &&
           item.dwVolumeSerialNumber == program.dwVolumeSerialNumber &&
           item.nFileIndexHigh == program.nFileIndexHigh &&
           item.nFileIndexLow == program.nFileIndexLow;
}

void ChangeRow(int row)
{
    char full[kDropPathSize];
    if (!ReadDropRowPath(row, full)) {
        g_runStatus += 1;
        return;
    }
    char root[4];
    RootOfPath(full, root);
    const UINT type = GetDriveTypeA(root);
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR || type == DRIVE_REMOTE ||
        type == DRIVE_CDROM) {
        RecordFailureReason(kReasonDriveKind);
        return;
    }
    // A removable drive without its medium must not put up the system's box.
    const bool removable = type == DRIVE_REMOVABLE;
    const UINT previousMode = removable ? SetErrorMode(SEM_FAILCRITICALERRORS) : 0;
    const int space = HasFreeSpace(root, (type == DRIVE_REMOVABLE || type == DRIVE_RAMDISK) ? 0 : 1);
    if (removable) SetErrorMode(previousMode);
    if (space == kFreeSpaceUnknown) {
        g_runStatus += 1;
        return;
    }
    if (space == kFreeSpaceShort) {
        RecordFailureReason(kReasonFreeSpace);
        return;
    }
    if (IsProgramFile(full)) {
        g_runStatus += 1;
        return;
    }
    // An item gone since the drop is reported, not passed over as changed.
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (HasWildcard(full) || !GetFileAttributesExA(full, GetFileExInfoStandard, &data)) {
        RecordFailureReason(kReasonMissingItem);
        return;
    }
    DetectNtfs(root);
    // The contents first, so that nothing done inside the folder renews its times.
    if (g_includeSubfolders == 1) ChangeSubtreeTimestamps(full);
    WriteTimestampChosen(nullptr, full);
}

void ShowRunResult(HWND mainWindow)
{
    switch (g_failureReason) {
    case kReasonNone:
        if (g_runStatus == 1) {
            SetCursor(LoadCursorA(nullptr, IDC_WAIT));
            RefreshListColumns();
            SetCursor(LoadCursorA(nullptr, IDC_ARROW));
            ShowMessage(mainWindow, Msg::Succeeded);
        } else {
            ShowMessage(mainWindow, Msg::Failed);
        }
        break;
    case kReasonDriveKind: ShowMessage(mainWindow, Msg::FailedDriveKind); break;
    case kReasonFreeSpace: ShowMessage(mainWindow, Msg::FailedFreeSpace); break;
    case kReasonLimit1980: ShowMessage(mainWindow, Msg::FailedLimit1980); break;
    case kReasonTemporaryName: ShowMessage(mainWindow, Msg::FailedTemporaryName); break;
    case kReasonLeftBehind:
        ShowMessageFormatted(mainWindow, Msg::FailedLeftBehind, g_leftBehindFolder,
                             g_leftBehindTemporary);
        break;
    default: ShowMessage(mainWindow, Msg::FailedMissing); break;
    }
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
    for (int row = 0; row < rows; ++row) ChangeRow(row);
    RestoreArrowCursor();
    ShowRunResult(mainWindow);
}

void RefreshListColumns()
{
    const int rows = DropListRows();
    for (int row = 0; row < rows; ++row) {
        char full[kDropPathSize];
        if (!ReadDropRowPath(row, full) || HasWildcard(full)) continue;
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExA(full, GetFileExInfoStandard, &data)) continue;
        char modified[kDateTimeTextSize];
        FormatItemTime(data.ftLastWriteTime, TimeRuleForPath(full), modified);
        if (!modified[0]) continue;
        LVITEMA item = {};
        item.iSubItem = kColModified;
        item.pszText = modified;
        SendMessageA(g_hDropListView, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    }
}
