#include "drive_selector.h"

#include <commctrl.h>
#include <direct.h>
#include <shellapi.h>

#include <cstring>

#include "folder_list.h"
#include "language.h"
#include "main_window.h"
#include "messages.h"
#include "row_texts.h"
#include "selector_table.h"
#include "volume_checks.h"

HWND g_hDriveSelector = nullptr;

namespace {

// The images the control shows, rebuilt from the table with it, and the
// drives' own icons read once at start-up (the table refers to them by index).
HIMAGELIST g_selectorImages = nullptr;
HIMAGELIST g_driveIcons = nullptr;

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The drive's small shell icon, else its large one, else the program's own.
// Returns the index among the drive icons, or -1.
int ReadDriveIcon(const char *root)
{
    SHFILEINFOA info = {};
    if (!SHGetFileInfoA(root, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON)) {
        std::memset(&info, 0, sizeof info);
        if (!SHGetFileInfoA(root, 0, &info, sizeof info, SHGFI_ICON)) info.hIcon = nullptr;
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
    if (g_hDriveSelector && index >= 0) SendMessageA(g_hDriveSelector, CB_SETCURSEL, index, 0);
}

// The drive's label for the list: only fixed drives show theirs.
void ReadVolumeLabel(const char *root, int driveClass, char (&label)[32])
{
    std::memset(label, 0, sizeof label);
    if (driveClass != kDriveFixed) return;
    if (!GetVolumeInformationA(root, label, 30, nullptr, nullptr, nullptr, nullptr, 0))
        std::memset(label, 0, sizeof label);
}

// Makes the chosen root current; a drive without media fails quietly.
bool ChangeToRoot(const char *root)
{
    bool raised = SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST) != 0;
    // The run-time library's change also records it as the drive's current directory.
    bool changed = _chdir(root) == 0;
    if (raised) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
    return changed;
}

// An entry of the current drive was chosen: back up to it.
void ChooseOnCurrentDrive(int sel, const char *chosenRoot)
{
    if (CountDeeperEntries(sel) == 0) return;  // already the current folder
    char target[kPathSize] = {};
    std::strcpy(target, IsDriveEntry(sel) ? chosenRoot : g_selectorText[sel]);
    if (!SetCurrentDirectoryA(target)) {
        ReselectCurrentLocation();
        return;
    }
    std::memcpy(g_currentFolder, target, sizeof g_currentFolder);
    CutChainBelow(sel);
    FillFolderList(g_currentFolder);
    RebuildDriveSelector();
    Select(sel);
}

// Another drive was chosen: list its root (never the folder last visited there).
void ChooseOtherDrive(HWND mainWindow, int sel, const char *chosenRoot)
{
    int driveClass = ClassifyDrive(chosenRoot);
    if (driveClass == kDriveRemovable || driveClass == kDriveCdRom) {
        if (ShowMessageFormatted(mainWindow, Msg::MediaQuestion, chosenRoot) != IDYES) {
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
    std::memset(g_currentFolder, 0, sizeof g_currentFolder);
    std::strcpy(g_currentFolder, chosenRoot);
    bool hadChain = FindChainStart() > 0;
    int newSel = DropChainFor(sel);
    FillFolderList(g_currentFolder);
    if (hadChain) RebuildDriveSelector();
    Select(newSel);
    SetErrorMode(previousMode);
}

}  // namespace

void CreateDriveSelector(HWND mainWindow)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_USEREX_CLASSES};
    InitCommonControlsEx(&controls);
    g_hDriveSelector = CreateWindowExA(0, WC_COMBOBOXEXA, "",
                                       WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 118,
                                       4, 219, 200, mainWindow,
                                       reinterpret_cast<HMENU>(kDriveSelectorId), g_hInstance,
                                       nullptr);
    ShowWindow(g_hDriveSelector, SW_SHOW);
    g_selectorImages = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, kSelectorEntries, 0);
    g_driveIcons = ImageList_Create(16, 16, ILC_COLOR4 | ILC_MASK, 26, 0);
    ClearSelectorTable();

    // Reading a drive without media must not raise the system's error box.
    UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    int selected = -1;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        char root[4] = {letter, ':', '\\', '\0'};
        int driveClass = ClassifyDrive(root);
        char label[32];
        ReadVolumeLabel(root, driveClass, label);
        char text[kSelectorTextSize];
        if (!MakeDriveEntryText(letter, driveClass, label, text)) continue;
        if (lstrcmpiA(g_currentFolder, root) == 0) selected = g_selectorCount;
        AppendSelectorEntry(text, 0, ReadDriveIcon(root));
    }
    SetErrorMode(previousMode);
    RebuildDriveSelector();
    Select(selected);
}

void RebuildDriveSelector()
{
    if (!g_hDriveSelector) return;
    SendMessageA(g_hDriveSelector, CB_RESETCONTENT, 0, 0);
    if (g_selectorImages) ImageList_Remove(g_selectorImages, -1);
    for (int i = 0; i < g_selectorCount; ++i) {
        int image = g_selectorImages ? AppendEntryImage(g_selectorImage[i]) : I_IMAGENONE;
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
        item.iItem = i;
        item.pszText = const_cast<char *>(SelectorShownText(i));
        item.iImage = image;
        item.iSelectedImage = image;
        item.iIndent = g_selectorIndent[i];
        SendMessageA(g_hDriveSelector, CBEM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(g_hDriveSelector, CBEM_SETIMAGELIST, 0,
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
    if (std::strlen(g_currentFolder) <= 3) {
        char key[3] = {AsciiUpper(g_currentFolder[0]), g_currentFolder[0] ? g_currentFolder[1] : '\0',
                       '\0'};
        index = FindFirstSelectorEntry(key);
    } else {
        char key[kSelectorTextSize];
        NormalizeDrivePath(g_currentFolder, key);
        index = FindLastSelectorEntry(key);
    }
    Select(index);
}

void OnDriveSelectorChange()
{
    if (!g_hDriveSelector) return;
    int sel = static_cast<int>(SendMessageA(g_hDriveSelector, CB_GETCURSEL, 0, 0));
    if (sel < 0 || sel >= g_selectorCount) return;
    char currentRoot[4] = {AsciiUpper(g_currentFolder[0]), g_currentFolder[0] ? g_currentFolder[1] : '\0',
                           '\\', '\0'};
    char chosenRoot[4] = {AsciiUpper(g_selectorText[sel][0]), g_selectorText[sel][1], '\\', '\0'};
    if (lstrcmpiA(chosenRoot, currentRoot) == 0) ChooseOnCurrentDrive(sel, chosenRoot);
    else ChooseOtherDrive(GetParent(g_hDriveSelector), sel, chosenRoot);
}

void DestroyDriveImageList()
{
    if (g_selectorImages) ImageList_Destroy(g_selectorImages);
    if (g_driveIcons) ImageList_Destroy(g_driveIcons);
    g_selectorImages = nullptr;
    g_driveIcons = nullptr;
}
