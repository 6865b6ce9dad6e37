#include "letter_change.h"

#include "change_target.h"
#include "item_access.h"
#include "item_rename.h"
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
    g_namesLeftTemporary.clear();
    RunChangeCommand(mainWindow, kRefreshName, Msg::LettersDriveRefused,
                     g_japaneseMode ? L"CHANGECHAR_DLG_J" : L"CHANGECHAR_DLG", LettersDlgProc,
                     JournalKind::Letters, LettersAfter, ApplyLetterChange, Msg::LettersNotAll);
    // Once the run is over: no stop question may come up under this box.
    ShowNamesLeftTemporary(mainWindow);
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
    ApplyToSelection(ChangeLetters);
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

std::wstring CaseChangedName(const std::wstring &name)
{
    std::wstring changed = name;
    if (changed.empty()) return changed;
    const DWORD length = static_cast<DWORD>(changed.size());
    if (g_caseMode)
        CharUpperBuffW(&changed[0], length);
    else
        CharLowerBuffW(&changed[0], length);
    return changed;
}

std::wstring CaseChangedPath(const std::wstring &fullPath)
{
    const std::size_t slash = fullPath.find_last_of(L'\\');
    if (fullPath.size() < 4 || slash == std::wstring::npos || slash + 1 == fullPath.size())
        return std::wstring();
    const std::wstring newPath = fullPath.substr(0, slash + 1) + CaseChangedName(fullPath.substr(slash + 1));
    return newPath == fullPath ? std::wstring() : newPath;
}

ItemState LettersAfter(const std::wstring &, const ItemState &before)
{
    ItemState after = before;
    after.name = CaseChangedName(before.name);
    return after;
}

void ChangeNameCase(const std::wstring &full)
{
    const std::wstring newPath = CaseChangedPath(full);
    if (newPath.empty()) return;
    NotChanged why = NotChanged::Refused;
    const std::wstring where = RenameItemSafely(full, newPath, &why);
    if (where == full)
        ReportNotChanged(full, why);
    else
        ReportChanged();
    // Left under a temporary name: the user must learn both names.
    if (where != full && where != newPath) g_namesLeftTemporary.push_back({full, where});
}
