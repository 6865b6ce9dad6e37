#include "change_target.h"

#include <commctrl.h>

#include "folder_list.h"
#include "item_access.h"
#include "path_text.h"
#include "row_texts.h"
#include "list_refresh.h"
#include "run_feedback.h"
#include "report_box.h"
#include "run_progress.h"
#include "run_report.h"
#include "subtree_walk.h"
#include "volume_checks.h"

int g_dlgIncludeSubfolders = 0;
int g_dlgFilesOnly = 0;
int g_selectionHasFolder = 0;
int g_dialogOutcome = 0;

namespace {

bool IsFolder(const std::wstring &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ReadItemData(path, &data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetBox(HWND dialog, int id, bool ticked)
{
    CheckDlgButton(dialog, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool BoxCounts(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) && IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

}  // namespace

int CheckChangeTarget(HWND mainWindow, Msg driveRefused)
{
    if (!g_hFolderList || FolderListRowCount() <= 0) {
        ShowMessage(mainWindow, Msg::NoFileInList);
        return 0;
    }
    if (FolderListSelectedCount() <= 0) {
        ShowMessage(mainWindow, Msg::NoFileSelected);
        return 0;
    }
    // Every row lies in the current folder, so its drive is the drive of all.
    std::wstring lastPath = g_currentFolder;
    for (int row = 0, rows = FolderListRowCount(); row < rows; ++row) {
        if (!IsRowSelected(row)) continue;
        const std::wstring path = ReadRowFullPath(row);
        if (path.empty()) continue;
        lastPath = path;
        if (IsFolder(path)) {
            g_selectionHasFolder = 1;
            break;
        }
    }
    int driveClass = ClassifyDrive(RootOf(lastPath));
    if (driveClass == kDriveUnknown || driveClass == kDriveNoRoot || driveClass == kDriveCdRom) {
        ShowMessage(mainWindow, driveRefused);
        return 0;
    }
    return 1;
}

bool RunChangeDialog(HWND mainWindow, const wchar_t *templateName, DLGPROC procedure)
{
    INT_PTR result = DialogBoxParamW(g_hInstance, templateName, mainWindow, procedure, 0);
    if (result == -1) {
        ShowMessage(nullptr, Msg::CommandDialogFailure);
        return false;
    }
    return true;
}

void StartSubfolderBoxes(HWND dialog)
{
    if (!g_selectionHasFolder) EnableWindow(GetDlgItem(dialog, kIncludeSubfoldersBox), FALSE);
    EnableWindow(GetDlgItem(dialog, kFilesOnlyBox), FALSE);
}

void ToggleIncludeSubfolders(HWND dialog)
{
    g_dlgIncludeSubfolders = g_dlgIncludeSubfolders ? 0 : 1;
    g_dlgFilesOnly = 0;
    SetBox(dialog, kIncludeSubfoldersBox, g_dlgIncludeSubfolders != 0);
    SetBox(dialog, kFilesOnlyBox, false);
    EnableWindow(GetDlgItem(dialog, kFilesOnlyBox), g_dlgIncludeSubfolders ? TRUE : FALSE);
}

void ToggleFilesOnly(HWND dialog)
{
    g_dlgFilesOnly = g_dlgFilesOnly ? 0 : 1;
    SetBox(dialog, kFilesOnlyBox, g_dlgFilesOnly != 0);
}

void ReadSubfolderBoxes(HWND dialog)
{
    g_dlgIncludeSubfolders = BoxCounts(dialog, kIncludeSubfoldersBox) ? 1 : 0;
    g_dlgFilesOnly = BoxCounts(dialog, kFilesOnlyBox) ? 1 : 0;
}

void ForEachSelectedItem(const SelectedItemAction &action)
{
    if (!g_hFolderList || FolderListRowCount() <= 0 || FolderListSelectedCount() <= 0) return;
    HCURSOR kept = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    for (int row = 0, rows = FolderListRowCount(); row < rows; ++row) {
        if (!IsRowSelected(row)) continue;
        const std::wstring path = ReadRowFullPath(row);
        if (path.empty() || SameNameIgnoringCase(path, g_programPath)) continue;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!ReadItemData(path, &data)) continue;
        action(path, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    }
    if (GetCursor() != kept) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void ApplyToSelection(ItemChange change)
{
    ForEachSelectedItem([change](const std::wstring &path, bool isFolder) {
        if (RunHalted()) return;
        if (!isFolder) {
            if (NextRunItem()) change(path, false);
            return;
        }
        if (!g_dlgFilesOnly) {
            if (!NextRunItem()) return;
            change(path, true);
        }
        if (g_dlgIncludeSubfolders) ChangeSubtree(path, change);
    });
}

void ChangeSubtree(const std::wstring &folder, ItemChange change)
{
    // A linked folder's contents belong elsewhere.
    if (IsLinkItem(folder)) return;
    WalkSubtree(
        folder, g_programPath,
        [change](const std::wstring &path, bool isFolder) {
            if (isFolder && g_dlgFilesOnly) return true;
            if (!NextRunItem()) return false;
            change(path, isFolder);
            return true;
        },
        [](const std::wstring &unreached, NotChanged reason) {
            ReportNotChanged(unreached, reason);
            return true;
        });
}

void RunChangeCommand(HWND mainWindow, int refreshMode, Msg driveRefused,
                      const wchar_t *dialogTemplate, DLGPROC procedure, JournalKind kind,
                      AfterChange after, void (*apply)(), Msg notAll)
{
    g_selectionHasFolder = 0;
    g_refreshMode = refreshMode;
    if (!CheckChangeTarget(mainWindow, driveRefused)) return;
    g_dlgIncludeSubfolders = 0;
    g_dlgFilesOnly = 0;
    g_dialogOutcome = 0;
    if (!RunChangeDialog(mainWindow, dialogTemplate, procedure)) return;
    if (g_dialogOutcome != kDialogAccepted) return;
    std::vector<std::wstring> chosen;
    ForEachSelectedItem([&](const std::wstring &path, bool) { chosen.push_back(path); });
    const auto count = [] {
        std::size_t total = 0;
        ForEachSelectedItem([&](const std::wstring &path, bool isFolder) {
            if (!isFolder || !g_dlgFilesOnly) ++total;
            if (isFolder && g_dlgIncludeSubfolders)
                total += CountEntriesBelow(path, g_programPath, g_dlgFilesOnly != 0);
        });
        return total;
    };
    const RunEnd end = RunWithJournal(mainWindow, kind, after, chosen, count, apply);
    if (end == RunEnd::Refused) return;
    RefreshListColumns();
    // No closing message when every item changed: the list shows it.
    if (end == RunEnd::Stopped)
        ShowStoppedMessage(mainWindow);
    else if (end == RunEnd::Finished && !ItemsNotChanged().empty())
        ShowReport(mainWindow, notAll, RunReportText(MessageText(notAll), ItemsChanged(), ItemsNotChanged()));
}
