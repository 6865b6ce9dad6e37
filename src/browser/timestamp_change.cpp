// klokan99's Change Timestamp: the selected rows of the folder list, and
// everything below them when "Include subfolders." is ticked. The first
// refusal that is reported stops the run.
#include <windows.h>
#include <commctrl.h>

#include "date_time_selector.h"
#include "folder_list.h"
#include "list_refresh.h"
#include "main_window.h"
#include "messages.h"
#include "timestamp_command.h"
#include "timestamp_items.h"
#include "timestamp_run.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

int g_firstItemDone = 0;

int CheckTimestampSelection(HWND mainWindow)
{
    if (!g_hFolderList || FolderListRowCount() <= 0) {
        ShowMessage(mainWindow, Msg::NoFileInList);
        return 0;
    }
    if (FolderListSelectedCount() <= 0) {
        ShowMessage(mainWindow, Msg::NoFileSelected);
        return 0;
    }
    const int rows = FolderListRowCount();
    for (int row = 0; row < rows; ++row) {
        char path[kPathSize];
        if (!IsRowSelected(row) || !ReadRowFullPath(row, path)) continue;
        const char root[4] = {path[0], path[1], path[2], '\0'};
        const int drive = ClassifyDrive(root);
        if (drive == kDriveUnknown || drive == kDriveNoRoot || drive == kDriveCdRom) {
            ShowMessage(mainWindow, Msg::TimestampDriveRefused);
            return 0;
        }
        break;
    }
    return 1;
}

void RunTimestampChange(HWND mainWindow)
{
    if (!g_hFolderList || FolderListRowCount() <= 0 || FolderListSelectedCount() <= 0) return;
    g_savedCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    g_runStatus = 1;
    g_firstItemDone = 0;
    ForgetCheckedDrive();
    int handled = 0;
    const int rows = FolderListRowCount();
    for (int row = 0; row < rows; ++row) {
        char path[kPathSize];
        if (!IsRowSelected(row) || !ReadRowFullPath(row, path)) continue;
        // The running program's own file is never changed.
        if (g_programPath[0] && lstrcmpiA(path, g_programPath) == 0) continue;
        ++handled;
        const int firstItemDone = g_firstItemDone;
        // What a folder holds is changed before the folder, so that nothing
        // done inside it afterwards can renew the folder's own times.
        if (g_includeSubfolders == 1) ChangeSubtreeTimestamps(mainWindow, path, firstItemDone);
        ChangeItemTimestamp(mainWindow, path, firstItemDone);
        g_firstItemDone = 1;
        if (g_runStatus == 0) break;
    }
    RestoreArrowCursor();

    if (g_runStatus == 0) return;  // the refusal has been shown
    if (g_runStatus == 1 && handled > 0) {
        RefreshListColumns();
        ShowMessage(mainWindow, Msg::Succeeded);
    } else if (g_runStatus == 1) {
        ShowMessage(mainWindow, Msg::NoFileAssigned);
    } else {
        ShowMessage(mainWindow, Msg::Failed);
    }
}

void TimestampChangeCommand(HWND mainWindow)
{
    g_refreshMode = kRefreshModified;
    if (!CheckTimestampSelection(mainWindow)) return;
    ReadTargetTime();
    if (ConfirmTimestampChange(mainWindow)) RunTimestampChange(mainWindow);
}
