#include "row_texts.h"

#include <windows.h>

namespace {
// File attribute bits, as the file system reports them.
constexpr unsigned long kReadOnly = 0x01;
constexpr unsigned long kHidden = 0x02;
constexpr unsigned long kSystem = 0x04;
constexpr unsigned long kArchive = 0x20;

}  // namespace

std::wstring FormatSizeText(unsigned long long size)
{
    std::wstring digits = std::to_wstring(size);
    if (digits.size() < 10) digits.insert(0, 10 - digits.size(), L' ');
    return digits;
}

std::wstring FormatAttributeLetters(unsigned long attributes)
{
    std::wstring letters;
    if (attributes & kReadOnly) letters += L'R';
    if (attributes & kHidden) letters += L'H';
    if (attributes & kSystem) letters += L'S';
    if (attributes & kArchive) letters += L'A';
    return letters;
}

bool IsRecycleBinName(const std::wstring &name)
{
    return SameNameIgnoringCase(name, L"Recycled") || SameNameIgnoringCase(name, L"Recycler");
}

const wchar_t *FolderTypeText(const std::wstring &name, int japanese)
{
    if (IsRecycleBinName(name)) return japanese ? L"<ごみ箱>" : L"<Recycler>";
    return japanese ? L"<ﾌｫﾙﾀﾞｰ>" : L"<Folder>";
}

const char *FolderIconResource(FolderIcon icon)
{
    switch (icon) {
    case FolderIcon::RecycleXp: return "RCL_XP_ICON";
    case FolderIcon::RecycleMe: return "RCL_ME_ICON";
    case FolderIcon::Recycle9x: return "RCL_9X_ICON";
    case FolderIcon::DocumentsMe: return "DOC_ME_ICON";
    case FolderIcon::Documents9x: return "DOC_9X_ICON";
    case FolderIcon::Folder: break;
    }
    return "FLD_ICON";
}

FolderIcon ChooseChainFolderIcon(bool isWindowsDocuments, int windowsKind)
{
    if (!isWindowsDocuments) return FolderIcon::Folder;
    switch (windowsKind) {
    case 2: return FolderIcon::DocumentsMe;
    case 1:
    case 6:
    case 7: return FolderIcon::Documents9x;
    default: return FolderIcon::Folder;
    }
}

FolderIcon ChooseFolderIcon(const std::wstring &name, bool isWindowsDocuments, int windowsKind)
{
    // Only the "Recycled" spelling carries the recycle-bin picture; "Recycler"
    // shows a plain folder even though its Type says recycle bin.
    if (SameNameIgnoringCase(name, L"Recycled")) {
        switch (windowsKind) {
        case 5: return FolderIcon::RecycleXp;
        case 2:
        case 4: return FolderIcon::RecycleMe;
        case 0:
        case 1: return FolderIcon::Recycle9x;
        default: return FolderIcon::Folder;
        }
    }
    if (SameNameIgnoringCase(name, L"My Documents"))
        return ChooseChainFolderIcon(isWindowsDocuments, windowsKind);
    return FolderIcon::Folder;
}
