#include "about_box.h"

#include "about_ids.h"

#include "language.h"
#include "main_window.h"
#include "messages.h"
#include "path_text.h"
#include "program_paths.h"
#include "program_table.h"

namespace {

// The readme's name as the messages quote it: the name it is shipped under,
// whatever the program's own file is called.
std::wstring ReadmeFileName()
{
    return g_program.readmeName;
}

// Whether the readme is there as a file (an exact look-up, never a pattern).
bool ReadmeIsThere()
{
    if (g_readmePath.empty()) return false;
    const DWORD attributes = GetFileAttributesW(SystemPath(g_readmePath).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::wstring BuildNotepadCommand(const std::wstring &windowsDirectory, const std::wstring &readmePath)
{
    return L"\"" + windowsDirectory + L"\\NOTEPAD.EXE\" \"" + readmePath + L"\"";
}

void OpenReadme()
{
    if (!ReadmeIsThere()) {
        ShowMessageFormatted(nullptr, Msg::ReadmeMissing, {ReadmeFileName()});
        return;
    }
    // Notepad runs on its own; nothing waits for it.
    const std::wstring windowsFolder = ReadWindowsFolder();
    if (windowsFolder.empty() ||
        !StartDetached(BuildNotepadCommand(windowsFolder, g_readmePath), true))
        ShowMessageFormatted(nullptr, Msg::NotepadFailure, {ReadmeFileName()});
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        // The system puts the focus on the default button, Close.
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            // Close, and Enter.
            EndDialog(dialog, 1);
            break;
        case IDCANCEL:
            // Escape only closes the box.
            EndDialog(dialog, 0);
            break;
        case IDC_ABOUT_README:
            // The box closes after every attempt, opened or not.
            OpenReadme();
            EndDialog(dialog, 2);
            break;
        default:
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void ShowAboutBox(HWND mainWindow)
{
    const wchar_t *templateName = g_japaneseMode ? L"ABOUT_DLG_J" : L"ABOUT_DLG";
    if (DialogBoxParamW(g_hInstance, templateName, mainWindow, AboutDlgProc, 0) == -1)
        ShowMessage(nullptr, Msg::DialogFailure);
}
