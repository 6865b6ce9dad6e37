#include "about_box.h"

#include <cstdio>
#include <cstring>

#include "language.h"
#include "main_window.h"
#include "messages.h"
#include "program_table.h"

namespace {

// The readme's name as the messages quote it: the name it is shipped under,
// whatever the program's own file is called.
const char *ReadmeFileName()
{
    return g_program.readmeName;
}

// The search handle of the readme check, closed on every path.
class ScopedFind {
public:
    explicit ScopedFind(const char *path)
        : handle_(path ? FindFirstFileA(path, &data_) : INVALID_HANDLE_VALUE) {}
    ~ScopedFind()
    {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    ScopedFind(const ScopedFind &) = delete;
    ScopedFind &operator=(const ScopedFind &) = delete;
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    WIN32_FIND_DATAA data_{};
    HANDLE handle_;
};

}  // namespace

void BuildNotepadCommand(const char *windowsDirectory, const char *readmePath, char *out,
                         size_t outSize)
{
    if (outSize == 0) return;
    std::memset(out, 0, outSize);
    const int written =
        std::snprintf(out, outSize, "\"%s\\NOTEPAD.EXE\" \"%s\"", windowsDirectory, readmePath);
    if (written < 0 || static_cast<size_t>(written) >= outSize) std::memset(out, 0, outSize);
}

void OpenReadme()
{
    // The readme path names one file; a wildcard in it would let another file pass.
    const bool plainPath = g_readmePath[0] && !std::strpbrk(g_readmePath, "*?");
    ScopedFind readme(plainPath ? g_readmePath : nullptr);
    if (!readme.Found()) {
        ShowMessageFormatted(nullptr, Msg::ReadmeMissing, ReadmeFileName());
        return;
    }

    char windowsDirectory[256] = {};
    const UINT length = GetWindowsDirectoryA(windowsDirectory, sizeof windowsDirectory);
    char commandLine[600] = {};
    if (length > 0 && length < sizeof windowsDirectory)
        BuildNotepadCommand(windowsDirectory, g_readmePath, commandLine, sizeof commandLine);

    // Notepad runs on its own; nothing waits for it.
    const UINT started = commandLine[0] ? WinExec(commandLine, SW_SHOWNORMAL) : 0;
    if (static_cast<WORD>(started) <= 32)
        ShowMessageFormatted(nullptr, Msg::NotepadFailure, ReadmeFileName());
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
            EndDialog(dialog, 1);
            break;
        case IDCANCEL:
            // ReadMe, and Escape, which the dialog manager reports as the same
            // command: the box closes after every attempt, opened or not.
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
    const char *templateName = g_japaneseMode ? "ABOUT_DLG_J" : "ABOUT_DLG";
    if (DialogBoxParamA(g_hInstance, templateName, mainWindow, AboutDlgProc, 0) == -1)
        ShowMessage(nullptr, Msg::DialogFailure);
}
