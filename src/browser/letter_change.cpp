#include "letter_change.h"

#include <algorithm>
#include <cwchar>

#include "change_target.h"
#include "handles.h"
#include "item_access.h"
#include "language.h"
#include "list_refresh.h"
#include "main_window.h"
#include "messages.h"
#include "path_text.h"
#include "row_texts.h"
#include "subtree_walk.h"

int g_caseMode = 1;
std::vector<NameLeftTemporary> g_namesLeftTemporary;

namespace {

constexpr int kCapitalRadio = 129;
constexpr int kSmallRadio = 130;

// The name the file system keeps for the item at path (as its folder lists
// it), or empty when there is none. A search may match loosely: Wine takes
// "REPORT." for "report" too.
std::wstring StoredName(const std::wstring &path)
{
    WIN32_FIND_DATAW found = {};
    FindHandle search(HasWildcard(NameOf(path)) ? INVALID_HANDLE_VALUE
                                                : FindFirstFileW(SystemPath(path).c_str(), &found));
    return search.Valid() ? std::wstring(found.cFileName) : std::wstring();
}

// Whether the item at path is stored under exactly the name path gives it.
bool StoredAs(const std::wstring &path)
{
    if (StoredName(path) == NameOf(path)) return true;
    std::vector<std::wstring> names;
    ReadFolderNames(ParentOf(path), &names);
    return std::find(names.begin(), names.end(), NameOf(path)) != names.end();
}

// Volume and index of the item at path; false when it cannot be opened.
bool IdentityOf(const std::wstring &path, BY_HANDLE_FILE_INFORMATION *info)
{
    FileHandle item(CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return item.Valid() && GetFileInformationByHandle(item.Get(), info);
}

// True when the new path is free or reaches the item itself (whose stored
// name is ownName), never a different item.
bool NamesOnlyTheItem(const std::wstring &newPath, const std::wstring &itemPath,
                      const std::wstring &ownName)
{
    const std::wstring other = StoredName(newPath);
    if (other.empty() || SameNameIgnoringCase(other, ownName)) return true;
    // The search may have matched loosely; the item the path opens tells.
    BY_HANDLE_FILE_INFORMATION named = {}, own = {};
    return IdentityOf(newPath, &named) && IdentityOf(itemPath, &own) &&
           named.dwVolumeSerialNumber == own.dwVolumeSerialNumber &&
           named.nFileIndexHigh == own.nFileIndexHigh && named.nFileIndexLow == own.nFileIndexLow;
}

// Whether name, in the folder, is the short name of an entry other than
// ownName. Such a name reaches that entry once the item leaves it, so the
// item could not come back to it.
bool ShortNameOfAnother(const std::wstring &folder, const std::wstring &name,
                        const std::wstring &ownName)
{
    WIN32_FIND_DATAW found = {};
    FindHandle search(FindFirstFileExW(SystemPath(JoinPath(folder, L"*")).c_str(),
                                       FindExInfoStandard, &found, FindExSearchNameMatch, nullptr,
                                       0));
    if (!search.Valid()) return false;
    do {
        if (found.cAlternateFileName[0] && SameNameIgnoringCase(found.cAlternateFileName, name) &&
            !SameNameIgnoringCase(found.cFileName, ownName))
            return true;
    } while (FindNextFileW(search.Get(), &found));
    return false;
}

bool Rename(const std::wstring &from, const std::wstring &to)
{
    return MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(), 0) != FALSE;
}

// Moves from to to without ever replacing an existing item. Some file systems
// answer a rename that only changes case with success and keep the old
// spelling; the item then goes once through a free temporary name beside it.
// Gives the path at which the item is afterwards.
std::wstring RenameKeepingItem(const std::wstring &from, const std::wstring &to)
{
    if (!Rename(from, to)) return from;
    if (StoredAs(to)) return to;
    // Through a temporary name only where both names stay the item's own.
    const std::wstring ownName = StoredName(from);
    if (ShortNameOfAnother(ParentOf(to), NameOf(to), ownName) ||
        ShortNameOfAnother(ParentOf(from), NameOf(from), ownName))
        return from;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[16] = {};
        std::swprintf(name, 16, L"~case%02d.tmp", attempt);
        const std::wstring temporary = JoinPath(ParentOf(to), name);
        if (!Rename(to, temporary)) {
            const DWORD error = GetLastError();
            if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
            return to;
        }
        if (Rename(temporary, to)) return to;
        // The new name was refused: back under the old one.
        return Rename(temporary, from) ? from : temporary;
    }
    return to;
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
                     g_japaneseMode ? L"CHANGECHAR_DLG_J" : L"CHANGECHAR_DLG", LettersDlgProc,
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
void ChangeLetters(const std::wstring &path, bool)
{
    ChangeNameCase(path);
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
    std::wstring text;
    for (const NameLeftTemporary &left : g_namesLeftTemporary) {
        if (!text.empty()) text += L"\n\n";
        text += FillPlaceholders(MessageText(Msg::NameLeftTemporary), {left.before, left.temporary});
    }
    ShowMessageText(owner, Msg::NameLeftTemporary, text);
}

void ChangeSubtreeLetters(const std::wstring &folder)
{
    ChangeSubtree(folder, ChangeLetters);
}

std::wstring CaseChangedPath(const std::wstring &fullPath)
{
    const std::size_t slash = fullPath.find_last_of(L'\\');
    if (fullPath.size() < 4 || slash == std::wstring::npos || slash + 1 == fullPath.size())
        return std::wstring();
    std::wstring newPath = fullPath;
    wchar_t *name = &newPath[slash + 1];
    const DWORD length = static_cast<DWORD>(newPath.size() - slash - 1);
    if (g_caseMode)
        CharUpperBuffW(name, length);
    else
        CharLowerBuffW(name, length);
    return newPath == fullPath ? std::wstring() : newPath;
}

void ChangeNameCase(const std::wstring &full)
{
    const std::wstring newPath = CaseChangedPath(full);
    if (newPath.empty()) return;
    const std::wstring storedName = StoredName(full);
    // The path must reach the item by its own name, and the new one may name
    // nothing but the item.
    if (storedName.empty() || storedName != NameOf(full)) return;
    if (!NamesOnlyTheItem(newPath, full, storedName)) return;
    FileHandle item;
    const ItemReach reach = OpenItemForChange(full, item);
    item.Close();
    if (reach == ItemReach::OwnProgram || reach == ItemReach::Missing) return;
    // A link is renamed as itself; its attributes, which a path reaches
    // through the link, are left alone.
    const bool attributesReachable = reach == ItemReach::Opened;

    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadItemData(full, &data)) return;
    // Without read-only the rename goes through.
    if (attributesReachable) SetItemAttributes(full, 0);
    const std::wstring where = RenameKeepingItem(full, newPath);
    // The attributes go back on the item where it now is, never on a path
    // that could name another item.
    if (attributesReachable) SetItemAttributes(where, data.dwFileAttributes & ~FILE_ATTRIBUTE_DIRECTORY);
    // Left under a temporary name: the user must learn both names.
    if (where != full && where != newPath) g_namesLeftTemporary.push_back({full, where});
}
