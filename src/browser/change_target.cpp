#include "change_target.h"

#include <commctrl.h>

#include <cstring>

#include "folder_list.h"
#include "item_access.h"
#include "list_refresh.h"
#include "subtree_walk.h"
#include "volume_checks.h"

int g_dlgIncludeSubfolders = 0;
int g_dlgFilesOnly = 0;
int g_selectionHasFolder = 0;
int g_dialogOutcome = 0;

namespace {

bool IsFolder(const char *path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
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

bool ResolveFullPath(const char *path, char (&full)[kPathSize])
{
    std::memset(full, 0, sizeof full);
    DWORD length = GetFullPathNameA(path, kPathSize - 2, full, nullptr);
    if (length == 0 || length >= static_cast<DWORD>(kPathSize - 2)) {
        std::memset(full, 0, sizeof full);
        return false;
    }
    return true;
}

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
    char lastPath[kPathSize] = {};
    std::memcpy(lastPath, g_currentFolder, sizeof lastPath - 1);
    for (int row = 0, rows = FolderListRowCount(); row < rows; ++row) {
        char path[kPathSize];
        if (!IsRowSelected(row) || !ReadRowFullPath(row, path)) continue;
        std::memcpy(lastPath, path, sizeof lastPath);
        if (IsFolder(path)) {
            g_selectionHasFolder = 1;
            break;
        }
    }
    char root[4] = {};
    std::memcpy(root, lastPath, 3);
    int driveClass = ClassifyDrive(root);
    if (driveClass == kDriveUnknown || driveClass == kDriveNoRoot || driveClass == kDriveCdRom) {
        ShowMessage(mainWindow, driveRefused);
        return 0;
    }
    return 1;
}

bool RunChangeDialog(HWND mainWindow, const char *templateName, DLGPROC procedure)
{
    INT_PTR result = DialogBoxParamA(g_hInstance, templateName, mainWindow, procedure, 0);
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
        char path[kPathSize];
        if (!IsRowSelected(row) || !ReadRowFullPath(row, path)) continue;
        if (lstrcmpiA(path, g_programPath) == 0) continue;
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES) continue;
        action(path, (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        // The rows are named relative to the current folder: it must be the
        // current directory again before the next row is resolved.
        SetCurrentDirectoryA(g_currentFolder);
    }
    if (GetCursor() != kept) SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

void ApplyToSelection(ItemChange change)
{
    ForEachSelectedItem([change](const char *path, bool isFolder) {
        if (!isFolder) {
            change(path, false);
            return;
        }
        if (!g_dlgFilesOnly) change(path, true);
        if (g_dlgIncludeSubfolders) ChangeSubtree(path, change);
    });
}

void ChangeSubtree(const char *folder, ItemChange change)
{
    char full[kPathSize];
    // A linked folder's contents belong elsewhere.
    if (!ResolveFullPath(folder, full) || IsLinkItem(full)) return;
    WalkSubtree(
        full, g_programPath,
        [change](const char *path, bool isFolder) {
            if (!(isFolder && g_dlgFilesOnly)) change(path, isFolder);
            return true;
        },
        [](const char *, const char *) { return true; });
}

void RunChangeCommand(HWND mainWindow, int refreshMode, Msg driveRefused,
                      const char *dialogTemplate, DLGPROC procedure, void (*apply)())
{
    g_selectionHasFolder = 0;
    g_refreshMode = refreshMode;
    if (!CheckChangeTarget(mainWindow, driveRefused)) return;
    g_dlgIncludeSubfolders = 0;
    g_dlgFilesOnly = 0;
    g_dialogOutcome = 0;
    if (!RunChangeDialog(mainWindow, dialogTemplate, procedure)) return;
    if (g_dialogOutcome != kDialogAccepted) return;
    apply();
    RefreshListColumns();
}
