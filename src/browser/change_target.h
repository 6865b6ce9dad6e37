#pragma once
// What the Attributes and Letters commands share: the check of the selection
// and its drive, the dialog choices, the rules of the two subfolder boxes,
// and the run over the selected rows.

#include <windows.h>

#include <functional>
#include <string>

#include "journal.h"
#include "main_window.h"
#include "messages.h"

// Dialog controls both dialogs have.
constexpr int kIncludeSubfoldersBox = 127;
constexpr int kFilesOnlyBox = 128;

// Set afresh by every command (0 or 1 each).
extern int g_dlgIncludeSubfolders;  // box 127 at OK
extern int g_dlgFilesOnly;          // box 128 at OK
extern int g_selectionHasFolder;    // a selected row is a folder
// 2 after OK; 0 before the dialog and after Cancel or closing.
extern int g_dialogOutcome;
constexpr int kDialogAccepted = 2;

// 1 when the command may go on; 0 after a message saying why not (empty
// list, no selection, or the drive named by driveRefused). Sets
// g_selectionHasFolder when a selected row is a folder.
int CheckChangeTarget(HWND mainWindow, Msg driveRefused);

// The course both commands take: the check of the selection, the dialog,
// then (after OK) apply() under a journal of the given kind, the refresh of
// the column refreshMode names, and, when items were not changed, a report
// that begins with notAll.
void RunChangeCommand(HWND mainWindow, int refreshMode, Msg driveRefused,
                      const wchar_t *dialogTemplate, DLGPROC procedure, JournalKind kind,
                      AfterChange after, void (*apply)(), Msg notAll);

// Runs the dialog of the given template modally; false after the "System
// Error" box when the dialog cannot be shown.
bool RunChangeDialog(HWND mainWindow, const wchar_t *templateName, DLGPROC procedure);

// The subfolder boxes at the dialog's start: 127 usable only when a folder is
// selected, 128 never until 127 is ticked.
void StartSubfolderBoxes(HWND dialog);
// A click on box 127: ticking or unticking it always clears and unticks 128,
// which is usable only while 127 is ticked.
void ToggleIncludeSubfolders(HWND dialog);
// A click on box 128.
void ToggleFilesOnly(HWND dialog);
// At OK: each box counts only when it is enabled and ticked.
void ReadSubfolderBoxes(HWND dialog);

// Given the full path of one selected row and whether it is a folder.
using SelectedItemAction = std::function<void(const std::wstring &fullPath, bool isFolder)>;
// Runs the action on every selected row in row order under the wait cursor,
// skipping empty names and the program's own file.
void ForEachSelectedItem(const SelectedItemAction &action);

// One change of one item, given its path and whether it is a folder.
using ItemChange = void (*)(const std::wstring &path, bool isFolder);
// The course of the attribute and letter changes over the selected rows: a
// file is changed; a folder is changed unless "files only" is ticked, and
// what it holds is changed too when "include subfolders" is ticked.
void ApplyToSelection(ItemChange change);
// Everything below folder (a full path), through change; folders are left
// out under "files only". A linked folder is never walked into.
void ChangeSubtree(const std::wstring &folder, ItemChange change);
