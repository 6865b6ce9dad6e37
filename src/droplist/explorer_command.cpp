// Execute Explorer: a file window to drag from.
#include "explorer_command.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "drop_list.h"
#include "messages.h"

void ExecuteExplorer(HWND mainWindow)
{
    HWND explorer = FindWindowExA(nullptr, nullptr, "ExploreWClass", nullptr);
    if (explorer) {
        if (IsIconic(explorer) || IsZoomed(explorer))
            ShowWindow(explorer, SW_RESTORE);
        else
            BringWindowToTop(explorer);
        return;
    }
    char windowsFolder[kDropPathSize] = {};
    const UINT length = GetWindowsDirectoryA(windowsFolder, kListTextChars);
    char commandLine[kDropPathSize + 16] = {};
    UINT result = 0;
    if (length > 0 && length < static_cast<UINT>(kListTextChars)) {
        std::snprintf(commandLine, sizeof commandLine, "%s\\EXPLORER.EXE", windowsFolder);
        result = WinExec(commandLine, SW_SHOWNORMAL);
    }
    if (result <= 32) ShowMessage(mainWindow, Msg::ExplorerFailure);
}
