#include "attribute_change.h"

#include "attributes.h"
#include "change_target.h"
#include "item_access.h"
#include "language.h"
#include "list_refresh.h"
#include "main_window.h"
#include "run_report.h"
#include "subtree_walk.h"

namespace {

constexpr int kReadOnlyBox = 123;
constexpr int kHiddenBox = 124;
constexpr int kSystemBox = 125;
constexpr int kArchiveBox = 126;

// The attribute boxes with their part of the choice and their bit.
struct AttributeBox {
    int id;
    int *choice;
    DWORD bit;
};
const AttributeBox kAttributeBoxes[] = {
    {kReadOnlyBox, &g_attrReadOnly, FILE_ATTRIBUTE_READONLY},
    {kHiddenBox, &g_attrHidden, FILE_ATTRIBUTE_HIDDEN},
    {kSystemBox, &g_attrSystem, FILE_ATTRIBUTE_SYSTEM},
    {kArchiveBox, &g_attrArchive, FILE_ATTRIBUTE_ARCHIVE},
};

// The four end exactly as chosen, every other bit as it was: one write, on
// the item itself, never through a link.
void GiveChosenAttributes(const std::wstring &path, bool)
{
    ItemReach reach = ItemReach::Refused;
    if (SetItemAttributes(path, ChosenAttributes(), &reach)) {
        ReportChanged();
        return;
    }
    switch (reach) {
    case ItemReach::ThroughLink: break;  // a link met in a walk: never changed, nothing to tell
    case ItemReach::Missing: ReportNotChanged(path, NotChanged::Gone); break;
    case ItemReach::OwnProgram: ReportNotChanged(path, NotChanged::OwnProgram); break;
    default: ReportNotChanged(path, ReasonOfError(GetLastError())); break;
    }
}

// What the run makes of an item: the chosen four, its other bits kept.
ItemState AttributesAfter(const std::wstring &, const ItemState &before)
{
    ItemState after = before;
    after.attributes = (before.attributes & ~kFourAttributes) | ChosenAttributes();
    return after;
}

void OnInitDialog(HWND dialog)
{
    for (const AttributeBox &box : kAttributeBoxes)
        CheckDlgButton(dialog, box.id, *box.choice ? BST_CHECKED : BST_UNCHECKED);
    StartSubfolderBoxes(dialog);
}

void OnOk(HWND dialog)
{
    for (const AttributeBox &box : kAttributeBoxes)
        *box.choice = IsDlgButtonChecked(dialog, box.id) == BST_CHECKED ? 1 : 0;
    ReadSubfolderBoxes(dialog);
    g_dialogOutcome = kDialogAccepted;
    EndDialog(dialog, 1);
}

void OnAttributeBox(HWND dialog, int id)
{
    for (const AttributeBox &box : kAttributeBoxes) {
        if (box.id != id) continue;
        *box.choice = *box.choice ? 0 : 1;
        CheckDlgButton(dialog, id, *box.choice ? BST_CHECKED : BST_UNCHECKED);
    }
}

void OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK: OnOk(dialog); break;
    case IDCANCEL:
        g_dialogOutcome = 0;
        EndDialog(dialog, 2);
        break;
    case kReadOnlyBox:
    case kHiddenBox:
    case kSystemBox:
    case kArchiveBox: OnAttributeBox(dialog, id); break;
    case kIncludeSubfoldersBox: ToggleIncludeSubfolders(dialog); break;
    case kFilesOnlyBox: ToggleFilesOnly(dialog); break;
    default: break;
    }
}

}  // namespace

void ChangeAttributesCommand(HWND mainWindow)
{
    RunChangeCommand(mainWindow, kRefreshAttributes, Msg::AttributesDriveRefused,
                     g_japaneseMode ? L"CHANGEATTR_DLG_J" : L"CHANGEATTR_DLG", AttributesDlgProc,
                     JournalKind::Attributes, AttributesAfter, ApplyAttributeChange,
                     Msg::AttributesNotAll);
}

INT_PTR CALLBACK AttributesDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
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

void ApplyAttributeChange()
{
    ApplyToSelection(GiveChosenAttributes);
}

void ChangeSubtreeAttributes(const std::wstring &folder)
{
    ChangeSubtree(folder, GiveChosenAttributes);
}

DWORD ChosenAttributes()
{
    DWORD attributes = 0;
    for (const AttributeBox &box : kAttributeBoxes)
        if (*box.choice) attributes |= box.bit;
    return attributes;
}
