#pragma once
#include <windows.h>

#include <string>

// The About box with the program name, version and the ReadMe button.
void ShowAboutBox(HWND mainWindow);
// Dialog procedure of "ABOUT_DLG" and "ABOUT_DLG_J".
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Starts Notepad on the readme beside the program, or says why it cannot.
void OpenReadme();

// The command line that opens a readme with the Notepad of a Windows
// directory. Both paths are quoted, so that neither a space in the Windows
// directory nor one in the readme's folder can make the system start another
// program or open another file.
std::wstring BuildNotepadCommand(const std::wstring &windowsDirectory, const std::wstring &readmePath);
