// Execute Explorer: a file window to drag from.
#include "explorer_command.h"

#include <windows.h>

#include <string>

#include "drop_list.h"
#include "messages.h"
#include "program_paths.h"

void ExecuteExplorer(HWND mainWindow)
{
    HWND explorer = FindWindowExW(nullptr, nullptr, L"ExploreWClass", nullptr);
    if (explorer) {
        if (IsIconic(explorer) || IsZoomed(explorer))
            ShowWindow(explorer, SW_RESTORE);
        else
            BringWindowToTop(explorer);
        return;
    }
    const std::wstring windowsFolder = ReadWindowsFolder();
    if (windowsFolder.empty() ||
        !StartDetached(L"\"" + windowsFolder + L"\\EXPLORER.EXE\"", false))
        ShowMessage(mainWindow, Msg::ExplorerFailure);
}
