// klokan99's Change Timestamp: the selected rows of the folder list, and
// everything below them when "Include subfolders." is ticked. The first
// refusal that is reported stops the run.
#include <windows.h>
#include <commctrl.h>

#include "date_time_selector.h"
#include "folder_list.h"
#include "list_refresh.h"
#include "main_window.h"
#include "item_access.h"
#include "messages.h"
#include "recreate_writer.h"
#include "timestamp_command.h"
#include "timestamp_items.h"
#include "change_run.h"
#include "path_text.h"
#include "row_texts.h"
#include "run_feedback.h"
#include "run_progress.h"
#include "report_box.h"
#include "run_report.h"
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
        if (!IsRowSelected(row)) continue;
        const std::wstring path = ReadRowFullPath(row);
        if (path.empty()) continue;
        const int drive = ClassifyDrive(RootOf(path));
        if (drive == kDriveUnknown || drive == kDriveNoRoot || drive == kDriveCdRom) {
            ShowMessage(mainWindow, Msg::TimestampDriveRefused);
            return 0;
        }
        break;
    }
    return 1;
}

namespace {

// The full path of the first selected row, or empty.
std::wstring FirstSelectedPath()
{
    for (int row = 0, rows = FolderListRowCount(); row < rows; ++row) {
        if (!IsRowSelected(row)) continue;
        const std::wstring path = ReadRowFullPath(row);
        if (!path.empty()) return path;
    }
    return std::wstring();
}

bool SelectionHasFolder()
{
    for (int row = 0, rows = FolderListRowCount(); row < rows; ++row) {
        if (!IsRowSelected(row)) continue;
        WIN32_FILE_ATTRIBUTE_DATA data;
        const std::wstring path = ReadRowFullPath(row);
        if (!path.empty() && ReadItemData(path, &data) &&
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
    }
    return false;
}

// Everything that can refuse the whole run is settled before the first
// item is touched: the drive, and a target no rebuilt folder can get.
bool CheckRunBeforeAnyChange(HWND mainWindow)
{
    const std::wstring first = FirstSelectedPath();
    if (first.empty()) return true;
    if (!CheckItemDrive(mainWindow, first)) return false;
    if (UsesRebuildWriter() && !FolderTargetReachable() && SelectionHasFolder()) {
        ReportRecreate(kReportLimit1980, first, std::wstring());
        return false;
    }
    return true;
}

}  // namespace

void RunTimestampChange(HWND mainWindow)
{
    if (!g_hFolderList || FolderListRowCount() <= 0 || FolderListSelectedCount() <= 0) return;
    g_savedCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    g_runStatus = 1;
    g_firstItemDone = 0;
    g_clockNotPutBack = 0;
    ForgetCheckedDrive();
    ForgetVolumeAnswers();
    ForgetFinalPathCache();
    int handled = 0;
    RunEnd end = RunEnd::Finished;
    const int rows = FolderListRowCount();
    if (CheckRunBeforeAnyChange(mainWindow)) {
        std::vector<std::wstring> chosen;
        for (int row = 0; row < rows; ++row) {
            if (!IsRowSelected(row)) continue;
            const std::wstring path = ReadRowFullPath(row);
            if (path.empty() || SameNameIgnoringCase(path, g_programPath)) continue;
            chosen.push_back(path);
        }
        end = RunWithJournal(mainWindow, JournalKind::Timestamp, TimestampAfter, chosen,
                             [&] { return CountRunItems(chosen, g_includeSubfolders == 1); }, [&] {
            for (const std::wstring &path : chosen) {
                if (RunHalted()) break;
                ++handled;
                const int firstItemDone = g_firstItemDone;
                // What a folder holds is changed before the folder, so that nothing
                // done inside it afterwards can renew the folder's own times.
                if (g_includeSubfolders == 1) ChangeSubtreeTimestamps(mainWindow, path, firstItemDone);
                if (g_runStatus == 0 || !NextRunItem()) break;
                const ItemWrite result = ChangeItemTimestamp(mainWindow, path, firstItemDone);
                // A chosen link whose own times cannot be had is not passed over
                // as changed. The program's own file, by another name, is skipped.
                if (result == ItemWrite::LinkLeftAlone && g_runStatus != 0) {
                    g_runStatus += 1;
                    ReportNotChanged(path, NotChanged::ChosenLink);
                }
                if (result == ItemWrite::OwnProgram) --handled;
                g_firstItemDone = 1;
                if (g_runStatus == 0) break;
            }
        });
        if (end == RunEnd::Refused) {
            RestoreArrowCursor();
            return;
        }
    }
    RestoreArrowCursor();

    if (g_runStatus == 0) return;  // the refusal has been shown
    // Success only where every item reached was changed.
    const bool everyItemChanged = g_runStatus == 1 && ItemsNotChanged().empty();
    if (end == RunEnd::BrokeOff) {
        RefreshListColumns();  // its message has been shown
    } else if (end == RunEnd::Stopped) {
        RefreshListColumns();
        ShowStoppedMessage(mainWindow);
    } else if (everyItemChanged && handled > 0) {
        RefreshListColumns();
        ShowMessage(mainWindow, Msg::Succeeded);
    } else if (everyItemChanged) {
        ShowMessage(mainWindow, Msg::NoFileAssigned);
    } else {
        ShowReport(mainWindow, Msg::Failed,
                   RunReportText(MessageText(Msg::Failed), ItemsChanged(), ItemsNotChanged()));
    }
}

void TimestampChangeCommand(HWND mainWindow)
{
    g_refreshMode = kRefreshModified;
    if (!CheckTimestampSelection(mainWindow)) return;
    ReadTargetTime();
    if (ConfirmTimestampChange(mainWindow)) RunTimestampChange(mainWindow);
}
