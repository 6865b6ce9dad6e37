#include "drive_selector.h"

void CreateDriveSelector(HWND)
{
    // The drive list is not built yet.
}

void OnDriveSelectorChange()
{
}

void DestroyDriveImageList()
{
}
