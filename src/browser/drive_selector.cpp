#include "drive_selector.h"

#include <commctrl.h>
#include <direct.h>
#include <shellapi.h>

#include "display_scale.h"
#include "folder_list.h"
#include "language.h"
#include "main_window.h"
#include "messages.h"
#include "path_text.h"
#include "row_texts.h"
#include "selector_table.h"
#include "volume_checks.h"

HWND g_hDriveSelector = nullptr;

namespace {

// The images the control shows, rebuilt from the table with it, and the
// drives' own icons read once at start-up (the table refers to them by index).
HIMAGELIST g_selectorImages = nullptr;
HIMAGELIST g_driveIcons = nullptr;

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// The drive's small shell icon, else its large one, else the program's own.
// Returns the index among the drive icons, or -1.
int ReadDriveIcon(const std::wstring &root)
{
    SHFILEINFOW info = {};
    if (!SHGetFileInfoW(root.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) {
        info = {};
        if (!SHGetFileInfoW(root.c_str(), 0, &info, sizeof info, SHGFI_ICON)) info.hIcon = nullptr;
    }
    if (!info.hIcon) return ImageList_AddIcon(g_driveIcons, LoadIconA(g_hInstance, "NO_DRV_ICON"));
    int index = ImageList_AddIcon(g_driveIcons, info.hIcon);
    DestroyIcon(info.hIcon);  // the image list keeps its own copy
    return index;
}

// Appends the image of one table entry to the control's images.
int AppendEntryImage(int image)
{
    const char *resource = nullptr;
    switch (image) {
    case kSelectorImageOpen: resource = "OPEN_ICON"; break;
    case kSelectorImageFolder: resource = FolderIconResource(FolderIcon::Folder); break;
    case kSelectorImageDocumentsMe: resource = FolderIconResource(FolderIcon::DocumentsMe); break;
    case kSelectorImageDocuments9x: resource = FolderIconResource(FolderIcon::Documents9x); break;
    default: break;
    }
    HICON icon = nullptr;
    if (resource) icon = LoadIconA(g_hInstance, resource);
    else if (image >= 0) icon = ImageList_GetIcon(g_driveIcons, image, ILD_NORMAL);
    else icon = LoadIconA(g_hInstance, "NO_DRV_ICON");
    if (!icon) return I_IMAGENONE;
    int index = ImageList_AddIcon(g_selectorImages, icon);
    if (!resource && image >= 0) DestroyIcon(icon);  // a copy made for this entry
    return index < 0 ? I_IMAGENONE : index;
}

void Select(int index)
{
    if (g_hDriveSelector && index >= 0) SendMessageW(g_hDriveSelector, CB_SETCURSEL, index, 0);
}

// The drive's label for the list: only fixed drives show theirs.
std::wstring ReadVolumeLabel(const std::wstring &root, int driveClass)
{
    if (driveClass != kDriveFixed) return std::wstring();
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0))
        return std::wstring();
    return label;
}

// Makes the chosen root current; a drive without media fails quietly.
bool ChangeToRoot(const std::wstring &root)
{
    bool raised = SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST) != 0;
    // The run-time library's change also records it as the drive's current directory.
    bool changed = _wchdir(root.c_str()) == 0;
    if (raised) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    return changed;
}

// An entry of the current drive was chosen: back up to it.
void ChooseOnCurrentDrive(int sel, const std::wstring &chosenRoot)
{
    if (CountDeeperEntries(sel) == 0) return;  // already the current folder
    const std::wstring target = IsDriveEntry(sel) ? chosenRoot : g_selector[sel].text;
    const DWORD attributes = GetFileAttributesW(SystemPath(target).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ReselectCurrentLocation();
        return;
    }
    g_currentFolder = target;
    SetCurrentDirectoryW(target.c_str());
    CutChainBelow(sel);
    FillFolderList(g_currentFolder);
    RebuildDriveSelector();
    Select(sel);
}

// Another drive was chosen: list its root (never the folder last visited there).
void ChooseOtherDrive(HWND mainWindow, int sel, const std::wstring &chosenRoot)
{
    int driveClass = ClassifyDrive(chosenRoot);
    if (driveClass == kDriveRemovable || driveClass == kDriveCdRom) {
        if (ShowMessageFormatted(mainWindow, Msg::MediaQuestion, {chosenRoot}) != IDYES) {
            ReselectCurrentLocation();
            return;
        }
    }
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    if (!ChangeToRoot(chosenRoot)) {
        ReselectCurrentLocation();
        SetErrorMode(previousMode);
        return;
    }
    g_currentFolder = chosenRoot;
    bool hadChain = FindChainStart() > 0;
    int newSel = DropChainFor(sel);
    FillFolderList(g_currentFolder);
    if (hadChain) RebuildDriveSelector();
    Select(newSel);
    SetErrorMode(previousMode);
}

// "C:\" of a text that starts with a drive letter and colon.
std::wstring RootOfText(const std::wstring &text)
{
    if (text.size() < 2) return std::wstring();
    return std::wstring(1, AsciiUpper(text[0])) + text[1] + L"\\";
}

}  // namespace

void CreateDriveSelector(HWND mainWindow)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    g_hDriveSelector = CreateWindowExW(0, WC_COMBOBOXEXW, L"",
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, Scale(118),
                                       Scale(4), Scale(219), Scale(200), mainWindow,
                                       reinterpret_cast<HMENU>(kDriveSelectorId), g_hInstance,
                                       nullptr);
    ShowWindow(g_hDriveSelector, SW_SHOW);
    g_selectorImages = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 64, 16);
    g_driveIcons = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 26, 0);
    ClearSelectorTable();

    // Reading a drive without media must not raise the system's error box.
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    int selected = -1;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        const std::wstring root = std::wstring(1, letter) + L":\\";
        int driveClass = ClassifyDrive(root);
        const std::wstring text = MakeDriveEntryText(letter, driveClass, ReadVolumeLabel(root, driveClass));
        if (text.empty()) continue;
        if (SameNameIgnoringCase(g_currentFolder, root)) selected = static_cast<int>(g_selector.size());
        AppendSelectorEntry(text, 0, ReadDriveIcon(root));
    }
    SetErrorMode(previousMode);
    RebuildDriveSelector();
    Select(selected);
}

void PlaceDriveSelector()
{
    if (g_hDriveSelector)
        SetWindowPos(g_hDriveSelector, nullptr, Scale(118), Scale(4), Scale(219), Scale(200),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

void RebuildDriveSelector()
{
    if (!g_hDriveSelector) return;
    SendMessageW(g_hDriveSelector, CB_RESETCONTENT, 0, 0);
    if (g_selectorImages) ImageList_Remove(g_selectorImages, -1);
    for (int i = 0; i < static_cast<int>(g_selector.size()); ++i) {
        int image = g_selectorImages ? AppendEntryImage(g_selector[i].image) : I_IMAGENONE;
        const std::wstring shown = SelectorShownText(i);
        COMBOBOXEXITEMW item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t *>(shown.c_str());
        item.iImage = image;
        item.iSelectedImage = image;
        item.iIndent = g_selector[i].indent;
        SendMessageW(g_hDriveSelector, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(g_hDriveSelector, CBEM_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(g_selectorImages));
}

void PushFolderChainItem()
{
    int index = PushChainEntry(g_currentFolder, g_myDocumentsPath, g_windowsKind);
    if (index < 0) return;
    RebuildDriveSelector();
    Select(index);
}

void PopFolderChainItem()
{
    int index = PopChainEntry(g_currentFolder);
    if (index < 0) return;
    RebuildDriveSelector();
    Select(index);
}

void ReselectCurrentLocation()
{
    int index;
    if (g_currentFolder.size() <= 3) {
        std::wstring key = g_currentFolder.substr(0, 2);
        if (!key.empty()) key[0] = AsciiUpper(key[0]);
        index = FindFirstSelectorEntry(key);
    } else {
        index = FindLastSelectorEntry(NormalizeDrivePath(g_currentFolder));
    }
    Select(index);
}

void OnDriveSelectorChange()
{
    if (!g_hDriveSelector) return;
    int sel = static_cast<int>(SendMessageW(g_hDriveSelector, CB_GETCURSEL, 0, 0));
    if (sel < 0 || sel >= static_cast<int>(g_selector.size())) return;
    const std::wstring currentRoot = RootOfText(g_currentFolder);
    const std::wstring chosenRoot = RootOfText(g_selector[sel].text);
    if (SameNameIgnoringCase(chosenRoot, currentRoot)) ChooseOnCurrentDrive(sel, chosenRoot);
    else ChooseOtherDrive(GetParent(g_hDriveSelector), sel, chosenRoot);
}

void DestroyDriveImageList()
{
    if (g_selectorImages) ImageList_Destroy(g_selectorImages);
    if (g_driveIcons) ImageList_Destroy(g_driveIcons);
    g_selectorImages = nullptr;
    g_driveIcons = nullptr;
}
