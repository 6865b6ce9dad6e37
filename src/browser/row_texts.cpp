#include "row_texts.h"

#include <cstring>

namespace {
// File attribute bits, as the file system reports them.
constexpr unsigned long kReadOnly = 0x01;
constexpr unsigned long kHidden = 0x02;
constexpr unsigned long kSystem = 0x04;
constexpr unsigned long kArchive = 0x20;

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

void FormatSizeText(unsigned long long size, char (&out)[kSizeTextSize])
{
    char digits[24] = {};
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + size % 10);
        size /= 10;
    } while (size != 0);
    std::memset(out, 0, sizeof out);
    int pad = count < 10 ? 10 - count : 0;
    std::memset(out, ' ', pad);
    for (int i = 0; i < count; ++i) out[pad + i] = digits[count - 1 - i];
}

void FormatAttributeLetters(unsigned long attributes, char (&out)[kAttributeTextSize])
{
    std::memset(out, 0, sizeof out);
    int n = 0;
    if (attributes & kReadOnly) out[n++] = 'R';
    if (attributes & kHidden) out[n++] = 'H';
    if (attributes & kSystem) out[n++] = 'S';
    if (attributes & kArchive) out[n++] = 'A';
}

bool SameNameIgnoringCase(const char *a, const char *b)
{
    for (; *a && *b; ++a, ++b)
        if (AsciiLower(*a) != AsciiLower(*b)) return false;
    return *a == *b;
}

bool IsRecycleBinName(const char *name)
{
    return SameNameIgnoringCase(name, "Recycled") || SameNameIgnoringCase(name, "Recycler");
}

const char *FolderTypeText(const char *name, int japanese)
{
    if (IsRecycleBinName(name)) return japanese ? "<ごみ箱>" : "<Recycler>";
    return japanese ? "<ﾌｫﾙﾀﾞｰ>" : "<Folder>";
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

FolderIcon ChooseFolderIcon(const char *name, bool isWindowsDocuments, int windowsKind)
{
    // Only the "Recycled" spelling carries the recycle-bin picture; "Recycler"
    // shows a plain folder even though its Type says recycle bin.
    if (SameNameIgnoringCase(name, "Recycled")) {
        switch (windowsKind) {
        case 5: return FolderIcon::RecycleXp;
        case 2:
        case 4: return FolderIcon::RecycleMe;
        case 0:
        case 1: return FolderIcon::Recycle9x;
        default: return FolderIcon::Folder;
        }
    }
    if (SameNameIgnoringCase(name, "My Documents"))
        return ChooseChainFolderIcon(isWindowsDocuments, windowsKind);
    return FolderIcon::Folder;
}

bool JoinPathFits(const char *prefix, const char *name, char *out, int outSize)
{
    std::memset(out, 0, outSize);
    size_t prefixLength = std::strlen(prefix);
    size_t nameLength = std::strlen(name);
    if (prefixLength + nameLength + 1 > static_cast<size_t>(outSize)) return false;
    std::memcpy(out, prefix, prefixLength);
    std::memcpy(out + prefixLength, name, nameLength);
    return true;
}
