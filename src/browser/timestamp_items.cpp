#include "timestamp_items.h"

#include <cstring>

#include "item_access.h"
#include "messages.h"
#include "subtree_walk.h"
#include "timestamp_run.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

// The root whose drive passed the checks in this run. Every entry below the
// first item lies on it, and asking the system again for each of them took
// several times longer than changing the entry itself.
char g_checkedRoot[4] = {};

bool AlreadyChecked(const char *root)
{
    return g_checkedRoot[0] != '\0' && lstrcmpiA(root, g_checkedRoot) == 0;
}

void StopRun(HWND owner, Msg message)
{
    g_runStatus = 0;
    RestoreArrowCursor();
    ShowMessage(owner, message);
}

}  // namespace

bool CheckItemDrive(HWND owner, const char *path)
{
    char root[4] = {};
    std::strncpy(root, path, 3);
    if (AlreadyChecked(root)) return true;
    const UINT driveType = GetDriveTypeA(root);
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
    std::strcpy(g_checkedRoot, root);
    return true;
}

ItemWrite ChangeItemTimestamp(HWND owner, const char *path, int firstItemDone)
{
    if (g_runStatus == 0) return ItemWrite::Failed;
    if (firstItemDone == 0 && !CheckItemDrive(owner, path)) return ItemWrite::Failed;
    return WriteTimestampChosen(owner, path);
}

void ForgetCheckedDrive()
{
    g_checkedRoot[0] = '\0';
}

void ChangeSubtreeTimestamps(HWND owner, const char *path, int firstItemDone)
{
    // A linked folder's contents belong elsewhere.
    if (g_runStatus == 0 || IsLinkItem(path)) return;
    WalkSubtree(
        path, g_programPath,
        [&](const char *entry, bool) {
            ChangeItemTimestamp(owner, entry, firstItemDone);
            return g_runStatus != 0;
        },
        [](const char *, const char *) {
            g_runStatus += 1;
            return true;
        },
        WalkOrder::ContentsFirst);
}
