#pragma once
// Command Letters: the names of the selected items (and, on request, of
// everything below the selected folders) all in capital or all in small
// letters. Only the case changes; an item never gets another name.
#include <windows.h>

#include <string>
#include <vector>

#include "journal.h"


// 1: to capital letters, 0: to small letters. Kept for the run of the program.
extern int g_caseMode;

// Items of the last run left under a temporary name beside their own: the
// rename to the new case went through the temporary name, and neither the
// new name nor the old one could be given back.
struct NameLeftTemporary {
    std::wstring before, temporary;
};
extern std::vector<NameLeftTemporary> g_namesLeftTemporary;

// Command 113.
void ChangeLettersCommand(HWND mainWindow);
// The dialog "CHANGECHAR_DLG" / "CHANGECHAR_DLG_J".
INT_PTR CALLBACK LettersDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Converts the names of the selected items as the dialog chose; an item left
// under a temporary name is then named, with it, in one message.
void ApplyLetterChange();
// The message naming every item of g_namesLeftTemporary with both names;
// nothing when there is none.
void ShowNamesLeftTemporary(HWND owner);
// Everything below the folder (a full path), each folder before its
// contents; the folder itself is the caller's.
void ChangeSubtreeLetters(const std::wstring &folder);
// The full path with its last component converted by the system to the case
// of g_caseMode; the folder part is copied as it is. Empty when the path is a
// drive root, ends in a backslash, or already has that case.
std::wstring CaseChangedPath(const std::wstring &fullPath);
// The name in the chosen case.
std::wstring CaseChangedName(const std::wstring &name);
// What a run makes of an item: its name in the chosen case.
ItemState LettersAfter(const std::wstring &path, const ItemState &before);
// Renames the item (a full path) to its last component in the case of
// g_caseMode. Keeps its attributes. Leaves the item as it is when its name
// already has that case, when the new name names another item, and when it is
// the program's own file (by whatever name). A link is renamed as itself, its
// attributes untouched.
void ChangeNameCase(const std::wstring &path);
