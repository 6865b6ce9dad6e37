#include "selector_table.h"

#include <cstring>

#include "path_text.h"
#include "row_texts.h"

char g_selectorText[kSelectorEntries][kSelectorTextSize];
int g_selectorIndent[kSelectorEntries];
int g_selectorImage[kSelectorEntries];
int g_selectorCount;

namespace {
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A drive key ("C:") matches every entry of that drive; a folder's path
// matches its own chain entry only, never a deeper folder or a longer name.
bool MatchesKey(const char *text, const char *key)
{
    size_t length = std::strlen(key);
    if (length <= 2) return std::strncmp(text, key, length) == 0;
    return SameNameIgnoringCase(text, key);
}

void ClearEntry(int index)
{
    std::memset(g_selectorText[index], 0, kSelectorTextSize);
    g_selectorIndent[index] = 0;
    g_selectorImage[index] = 0;
}

// The drive key of a path: its first two characters, upper-cased ("C:").
void DriveKey(const char *path, char (&key)[3])
{
    key[0] = AsciiUpper(path[0]);
    key[1] = path[0] ? path[1] : '\0';
    key[2] = '\0';
}
}  // namespace

void ClearSelectorTable()
{
    for (int i = 0; i < kSelectorEntries; ++i) ClearEntry(i);
    g_selectorCount = 0;
}

void NormalizeDrivePath(const char *path, char (&out)[kSelectorTextSize])
{
    std::memset(out, 0, sizeof out);
    if (!path[0]) return;
    const char *colon = std::strchr(path, ':');
    const char *rest = colon ? colon : path + 1;
    out[0] = AsciiUpper(path[0]);
    size_t length = std::strlen(rest);
    if (length > kSelectorTextSize - 2) length = kSelectorTextSize - 2;
    std::memcpy(out + 1, rest, length);
}

bool MakeDriveEntryText(char letter, int driveClass, const char *label,
                        char (&out)[kSelectorTextSize])
{
    std::memset(out, 0, sizeof out);
    const char *description = nullptr;
    switch (driveClass) {
    case 2: description = "REMOVABLE-DRIVE"; break;
    case 3: description = (label && label[0]) ? label : "FIXED-DRIVE"; break;
    case 4: description = "RAM-DRIVE"; break;
    case 5: description = "CD-ROM"; break;
    case 6: description = "NETWORK-DRIVE"; break;
    default: return false;
    }
    out[0] = AsciiUpper(letter);
    out[1] = ':';
    out[2] = '[';
    size_t length = std::strlen(description);
    if (length > kSelectorTextSize - 5) length = kSelectorTextSize - 5;
    std::memcpy(out + 3, description, length);
    out[3 + length] = ']';
    return true;
}

// A drive entry reads "C:[...]"; a folder of the chain is a full path, which
// may hold "[" in its names.
bool IsDriveEntry(int index) { return g_selectorText[index][2] == '['; }

const char *SelectorShownText(int index)
{
    const char *text = g_selectorText[index];
    if (IsDriveEntry(index)) return text;
    const int slash = LastSeparator(text, IsProcessLeadByte);
    return slash >= 0 ? text + slash + 1 : text;
}

int FindLastSelectorEntry(const char *key)
{
    for (int i = g_selectorCount - 1; i >= 0; --i)
        if (MatchesKey(g_selectorText[i], key)) return i;
    return -1;
}

int FindFirstSelectorEntry(const char *key)
{
    for (int i = 0; i < g_selectorCount; ++i)
        if (MatchesKey(g_selectorText[i], key)) return i;
    return -1;
}

bool AppendSelectorEntry(const char *text, int indent, int image)
{
    return InsertSelectorEntry(g_selectorCount, text, indent, image);
}

bool InsertSelectorEntry(int index, const char *text, int indent, int image)
{
    if (g_selectorCount >= kSelectorEntries || index < 0 || index > g_selectorCount) return false;
    if (std::strlen(text) >= static_cast<size_t>(kSelectorTextSize)) return false;
    for (int i = g_selectorCount; i > index; --i) {
        std::memcpy(g_selectorText[i], g_selectorText[i - 1], kSelectorTextSize);
        g_selectorIndent[i] = g_selectorIndent[i - 1];
        g_selectorImage[i] = g_selectorImage[i - 1];
    }
    ClearEntry(index);
    std::strcpy(g_selectorText[index], text);
    g_selectorIndent[index] = indent;
    g_selectorImage[index] = image;
    ++g_selectorCount;
    return true;
}

void RemoveSelectorEntries(int index, int count)
{
    if (index < 0 || count <= 0 || index >= g_selectorCount) return;
    if (count > g_selectorCount - index) count = g_selectorCount - index;
    for (int i = index; i + count < g_selectorCount; ++i) {
        std::memcpy(g_selectorText[i], g_selectorText[i + count], kSelectorTextSize);
        g_selectorIndent[i] = g_selectorIndent[i + count];
        g_selectorImage[i] = g_selectorImage[i + count];
    }
    for (int i = g_selectorCount - count; i < g_selectorCount; ++i) ClearEntry(i);
    g_selectorCount -= count;
}

int CountDeeperEntries(int index)
{
    int k = 0;
    while (index + 1 + k < g_selectorCount &&
           g_selectorIndent[index + 1 + k] > g_selectorIndent[index])
        ++k;
    return k;
}

int FindChainStart()
{
    for (int i = 0; i < g_selectorCount; ++i)
        if (g_selectorIndent[i] == 1) return i;
    return -1;
}

int PushChainEntry(const char *currentFolder, const char *documentsFolder, int windowsKind)
{
    char key[3];
    DriveKey(currentFolder, key);
    int n = FindLastSelectorEntry(key);
    if (n < 0) return -1;
    char text[kSelectorTextSize];
    NormalizeDrivePath(currentFolder, text);
    if (!InsertSelectorEntry(n + 1, text, g_selectorIndent[n] + 1, kSelectorImageOpen)) return -1;
    // The folder left behind is no longer the open one; a drive keeps its own icon.
    if (!IsDriveEntry(n)) {
        bool documents = SameNameIgnoringCase(g_selectorText[n], documentsFolder);
        switch (ChooseChainFolderIcon(documents, windowsKind)) {
        case FolderIcon::DocumentsMe: g_selectorImage[n] = kSelectorImageDocumentsMe; break;
        case FolderIcon::Documents9x: g_selectorImage[n] = kSelectorImageDocuments9x; break;
        default: g_selectorImage[n] = kSelectorImageFolder; break;
        }
    }
    return n + 1;
}

int PopChainEntry(const char *currentFolder)
{
    char key[3];
    DriveKey(currentFolder, key);
    int n = FindLastSelectorEntry(key);
    // Only a chain entry can be left; the drive entry itself stays.
    if (n <= 0 || IsDriveEntry(n)) return -1;
    RemoveSelectorEntries(n, 1);
    if (!IsDriveEntry(n - 1)) g_selectorImage[n - 1] = kSelectorImageOpen;
    return n - 1;
}

int CutChainBelow(int sel)
{
    if (sel < 0 || sel >= g_selectorCount) return 0;
    int k = CountDeeperEntries(sel);
    if (k == 0) return 0;
    RemoveSelectorEntries(sel + 1, k);
    if (!IsDriveEntry(sel)) g_selectorImage[sel] = kSelectorImageOpen;
    return k;
}

int DropChainFor(int sel)
{
    int first = FindChainStart();
    if (first <= 0) return sel;
    int dropped = CountDeeperEntries(first) + 1;
    RemoveSelectorEntries(first, dropped);
    return first > sel ? sel : sel - dropped;
}
