#pragma once
// Command Attributes: read-only, hidden, system and archive of the selected
// items, and on request of everything below the selected folders.
#include <windows.h>

#include <string>

// Command 112.
void ChangeAttributesCommand(HWND mainWindow);
// The dialog "CHANGEATTR_DLG" / "CHANGEATTR_DLG_J".
INT_PTR CALLBACK AttributesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Gives every selected item (and, as the dialog chose, everything below the
// selected folders) exactly the chosen attributes.
void ApplyAttributeChange();
// Everything below the folder (a full path); the folder itself is the caller's.
void ChangeSubtreeAttributes(const std::wstring &folder);
// The attribute bits the dialog's choice stands for (0 for none).
DWORD ChosenAttributes();
