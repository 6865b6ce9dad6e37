#include "timestamp_items.h"

#include "change_run.h"
#include "item_access.h"
#include "messages.h"
#include "path_text.h"
#include "run_progress.h"
#include "run_report.h"
#include "subtree_walk.h"
#include "timestamp_command.h"
#include "volume_checks.h"

namespace {

// The root whose drive passed the checks in this run. Every entry below the
// first item lies on it, and asking the system again for each of them took
// several times longer than changing the entry itself.
std::wstring g_checkedRoot;

void StopRun(HWND owner, Msg message)
{
    g_runStatus = 0;
    RestoreArrowCursor();
    ShowMessage(owner, message);
}

}  // namespace

bool CheckItemDrive(HWND owner, const std::wstring &path)
{
    const std::wstring root = RootOf(path);
    if (!g_checkedRoot.empty() && root == g_checkedRoot) return true;
    const UINT driveType = GetDriveTypeW(root.c_str());
    if (driveType == DRIVE_UNKNOWN || driveType == DRIVE_NO_ROOT_DIR ||
        driveType == DRIVE_REMOTE || driveType == DRIVE_CDROM) {
        StopRun(owner, Msg::DriveKindRefused);
        return false;
    }
    const int fixedDisk = (driveType == DRIVE_REMOVABLE || driveType == DRIVE_RAMDISK) ? 0 : 1;
    // A failed query is no proof of space.
    if (HasFreeSpace(root, fixedDisk) != kFreeSpaceEnough) {
        StopRun(owner, Msg::NoFreeSpace);
        return false;
    }
    DetectNtfs(root);
    g_checkedRoot = root;
    return true;
}

ItemWrite ChangeItemTimestamp(HWND owner, const std::wstring &path, int firstItemDone)
{
    if (g_runStatus == 0) return ItemWrite::Failed;
    if (firstItemDone == 0 && !CheckItemDrive(owner, path)) return ItemWrite::Failed;
    return WriteTimestampChosen(path);
}

void ForgetCheckedDrive()
{
    g_checkedRoot.clear();
}

void ChangeSubtreeTimestamps(HWND owner, const std::wstring &path, int firstItemDone)
{
    // A linked folder's contents belong elsewhere.
    if (g_runStatus == 0 || IsLinkItem(path)) return;
    WalkSubtree(
        path, g_programPath,
        [&](const std::wstring &entry, bool) {
            if (!NextRunItem()) return false;
            ChangeItemTimestamp(owner, entry, firstItemDone);
            return g_runStatus != 0;
        },
        [](const std::wstring &unreached, NotChanged reason) {
            ReportNotChanged(unreached, reason);
            g_runStatus += 1;
            return true;
        },
        WalkOrder::ContentsFirst);
}
