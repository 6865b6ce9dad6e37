#include "letter_change.h"

#include <cstdio>
#include <cstring>

#include "change_target.h"
#include "handles.h"
#include "item_access.h"
#include "item_names.h"
#include "language.h"
#include "list_refresh.h"
#include "main_window.h"
#include "messages.h"
#include "path_limits.h"
#include "path_text.h"
#include "subtree_walk.h"

int g_caseMode = 1;
std::vector<NameLeftTemporary> g_namesLeftTemporary;

namespace {

constexpr int kCapitalRadio = 129;
constexpr int kSmallRadio = 130;

// The name the file system keeps for the item at path, or false when there
// is none.
bool ReadStoredName(const char *path, WIN32_FIND_DATAA &found)
{
    if (HasWildcard(path)) return false;
    FindHandle search(FindFirstEntry(path, &found));
    return search.Valid();
}

// True when path, with name as its last component, reaches the item by its
// own name. A short name, or a long name with characters the code page cannot
// spell, must never be written back in other letters: the item would lose
// its real name.
bool ReachedByOwnName(const char *path, const char *name, WIN32_FIND_DATAA &found)
{
    if (!ReadStoredName(path, found) || HasWildcard(found.cFileName)) return false;
    return lstrcmpiA(found.cFileName, name) == 0;
}

// True when the new path is free or names the item itself (whose stored
// name is ownName), never a different item.
bool NamesOnlyTheItem(const char *newPath, const char *ownName)
{
    WIN32_FIND_DATAA other = {};
    if (!ReadStoredName(newPath, other)) return true;
    return lstrcmpiA(other.cFileName, ownName) == 0;
}

// True when the item at path is stored with exactly the spelling of name.
bool StoredAs(const char *path, const char *name)
{
    WIN32_FIND_DATAA found = {};
    return ReadStoredName(path, found) && std::strcmp(found.cFileName, name) == 0;
}

// Moves from to to without ever replacing an existing item. Some file systems
// answer a rename that only changes case with success and keep the old
// spelling; the item then goes once through a free temporary name beside it.
// where receives the path at which the item is afterwards.
bool RenameKeepingItem(const char *from, const char *to, const char *head, const char *newName,
                       char (&where)[kPathBufferSize])
{
    std::strcpy(where, from);
    if (!MoveFileA(from, to)) return false;
    std::strcpy(where, to);
    if (StoredAs(to, newName)) return true;

    for (int attempt = 0; attempt < 100; ++attempt) {
        char temporary[kPathBufferSize] = {};
        int length = std::snprintf(temporary, sizeof temporary, "%s~case%02d.tmp", head, attempt);
        if (length < 0 || length > kMaxPathChars) return false;
        if (!MoveFileA(to, temporary)) {
            DWORD error = GetLastError();
            if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
            return false;
        }
        if (MoveFileA(temporary, to)) return StoredAs(to, newName);
        // The new name was refused: back under the old one.
        std::strcpy(where, MoveFileA(temporary, from) ? from : temporary);
        return false;
    }
    return false;
}

void OnInitDialog(HWND dialog)
{
    CheckRadioButton(dialog, kCapitalRadio, kSmallRadio, g_caseMode ? kCapitalRadio : kSmallRadio);
    StartSubfolderBoxes(dialog);
}

void OnOk(HWND dialog)
{
    g_caseMode = IsDlgButtonChecked(dialog, kCapitalRadio) == BST_CHECKED ? 1 : 0;
    ReadSubfolderBoxes(dialog);
    g_dialogOutcome = kDialogAccepted;
    EndDialog(dialog, 1);
}

void OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK: OnOk(dialog); break;
    case IDCANCEL:
        g_dialogOutcome = 0;
        EndDialog(dialog, 2);
        break;
    case kCapitalRadio:
    case kSmallRadio:
        CheckRadioButton(dialog, kCapitalRadio, kSmallRadio, id);
        g_caseMode = id == kCapitalRadio ? 1 : 0;
        break;
    case kIncludeSubfoldersBox: ToggleIncludeSubfolders(dialog); break;
    case kFilesOnlyBox: ToggleFilesOnly(dialog); break;
    default: break;
    }
}

}  // namespace

void ChangeLettersCommand(HWND mainWindow)
{
    RunChangeCommand(mainWindow, kRefreshName, Msg::LettersDriveRefused,
                     g_japaneseMode ? "CHANGECHAR_DLG_J" : "CHANGECHAR_DLG", LettersDlgProc,
                     ApplyLetterChange);
}

INT_PTR CALLBACK LettersDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog); return TRUE;
    case WM_CLOSE:
        g_dialogOutcome = 0;
        EndDialog(dialog, 0);
        return TRUE;
    case WM_COMMAND: OnCommand(dialog, LOWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}

namespace {

// A folder's path keeps working after its rename: names are found without
// regard to case.
void ChangeLetters(const char *path, bool isFolder)
{
    ChangeNameCase(path, isFolder ? 1 : 0);
}

}  // namespace

void ApplyLetterChange()
{
    g_namesLeftTemporary.clear();
    ApplyToSelection(ChangeLetters);
    ShowNamesLeftTemporary(g_hMainWnd);
}

void ShowNamesLeftTemporary(HWND owner)
{
    if (g_namesLeftTemporary.empty()) return;
    std::string text;
    for (const NameLeftTemporary &left : g_namesLeftTemporary) {
        char part[3 * kPathBufferSize];
        std::snprintf(part, sizeof part, MessageText(Msg::NameLeftTemporary), left.before.c_str(),
                      left.temporary.c_str());
        text += (text.empty() ? "" : "\n\n") + std::string(part);
    }
    ShowMessageText(owner, Msg::NameLeftTemporary, text.c_str());
}

void ChangeSubtreeLetters(const char *folder)
{
    ChangeSubtree(folder, ChangeLetters);
}

bool CaseChangedPath(const char *fullPath, char (&newPath)[kPathBufferSize])
{
    std::memset(newPath, 0, sizeof newPath);
    std::size_t length = std::strlen(fullPath);
    // By characters: in code page 932 a byte 0x5C can end a character.
    const int separator = LastSeparator(fullPath, IsProcessLeadByte);
    if (length < 4 || length > static_cast<std::size_t>(kMaxPathChars) || separator < 0 ||
        fullPath[separator + 1] == '\0')
        return false;
    std::memcpy(newPath, fullPath, length);
    char *name = newPath + separator + 1;
    if (g_caseMode) CharUpperA(name);
    else CharLowerA(name);
    return std::strcmp(newPath, fullPath) != 0;
}

void ChangeNameCase(const char *path, int)
{
    char full[kPathBufferSize] = {};
    if (path[0] != '\0' && path[1] == ':') {
        if (std::strlen(path) > static_cast<std::size_t>(kMaxPathChars)) return;
        std::strcpy(full, path);
    } else {
        DWORD length = GetFullPathNameA(path, kMaxPathChars + 1, full, nullptr);
        if (length == 0 || length > static_cast<DWORD>(kMaxPathChars)) return;
    }
    char newPath[kPathBufferSize];
    if (!CaseChangedPath(full, newPath)) return;
    std::size_t headLength = static_cast<std::size_t>(LastSeparator(full, IsProcessLeadByte)) + 1;
    char head[kPathBufferSize] = {};
    std::memcpy(head, full, headLength);
    const char *name = full + headLength;
    const char *newName = newPath + headLength;

    WIN32_FIND_DATAA found = {};
    if (!ReachedByOwnName(full, name, found)) return;
    if (!NamesOnlyTheItem(newPath, found.cFileName)) return;
    FileHandle item;
    const ItemReach reach = OpenItemForChange(full, item);
    item.Close();
    if (reach == ItemReach::OwnProgram || reach == ItemReach::Missing) return;
    // A link is renamed as itself; its attributes, which a path reaches
    // through the link, are left alone.
    const bool attributesReachable = reach == ItemReach::Opened;

    DWORD saved = GetFileAttributesA(full);
    if (saved == INVALID_FILE_ATTRIBUTES) return;
    // Without read-only the rename goes through.
    if (attributesReachable) SetItemAttributes(full, 0);
    char where[kPathBufferSize] = {};
    RenameKeepingItem(full, newPath, head, newName, where);
    // The attributes go back on the item where it now is, never on a path
    // that could name another item.
    if (attributesReachable) SetItemAttributes(where, saved & ~FILE_ATTRIBUTE_DIRECTORY);
    // Left under a temporary name: the user must learn both names.
    if (std::strcmp(where, full) != 0 && std::strcmp(where, newPath) != 0)
        g_namesLeftTemporary.push_back({full, where});
}
