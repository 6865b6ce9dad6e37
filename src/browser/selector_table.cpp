#include "selector_table.h"

#include "path_text.h"
#include "row_texts.h"

std::vector<SelectorEntry> g_selector;

namespace {
wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

// A drive key ("C:") matches every entry of that drive; a folder's path
// matches its own chain entry only, never a deeper folder or a longer name.
bool MatchesKey(const std::wstring &text, const std::wstring &key)
{
    if (key.size() <= 2) return text.compare(0, key.size(), key) == 0;
    return SameNameIgnoringCase(text, key);
}

// The drive key of a path: its first two characters, upper-cased ("C:").
std::wstring DriveKey(const std::wstring &path)
{
    std::wstring key = path.substr(0, 2);
    if (!key.empty()) key[0] = AsciiUpper(key[0]);
    return key;
}

int Count() { return static_cast<int>(g_selector.size()); }
}  // namespace

void ClearSelectorTable()
{
    g_selector.clear();
}

std::wstring NormalizeDrivePath(const std::wstring &path)
{
    if (path.empty()) return std::wstring();
    const std::size_t colon = path.find(L':');
    const std::wstring rest = colon == std::wstring::npos ? path.substr(1) : path.substr(colon);
    return std::wstring(1, AsciiUpper(path[0])) + rest;
}

std::wstring MakeDriveEntryText(wchar_t letter, int driveClass, const std::wstring &label)
{
    std::wstring description;
    switch (driveClass) {
    case 2: description = L"REMOVABLE-DRIVE"; break;
    case 3: description = label.empty() ? L"FIXED-DRIVE" : label; break;
    case 4: description = L"RAM-DRIVE"; break;
    case 5: description = L"CD-ROM"; break;
    case 6: description = L"NETWORK-DRIVE"; break;
    default: return std::wstring();
    }
    return std::wstring(1, AsciiUpper(letter)) + L":[" + description + L"]";
}

// A drive entry reads "C:[...]"; a folder of the chain is a full path, which
// may hold "[" in its names.
bool IsDriveEntry(int index)
{
    const std::wstring &text = g_selector[index].text;
    return text.size() > 2 && text[2] == L'[';
}

std::wstring SelectorShownText(int index)
{
    if (IsDriveEntry(index)) return g_selector[index].text;
    return NameOf(g_selector[index].text);
}

int FindLastSelectorEntry(const std::wstring &key)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (MatchesKey(g_selector[i].text, key)) return i;
    return -1;
}

int FindFirstSelectorEntry(const std::wstring &key)
{
    for (int i = 0; i < Count(); ++i)
        if (MatchesKey(g_selector[i].text, key)) return i;
    return -1;
}

void AppendSelectorEntry(const std::wstring &text, int indent, int image)
{
    g_selector.push_back({text, indent, image});
}

bool InsertSelectorEntry(int index, const std::wstring &text, int indent, int image)
{
    if (index < 0 || index > Count()) return false;
    g_selector.insert(g_selector.begin() + index, {text, indent, image});
    return true;
}

void RemoveSelectorEntries(int index, int count)
{
    if (index < 0 || count <= 0 || index >= Count()) return;
    if (count > Count() - index) count = Count() - index;
    g_selector.erase(g_selector.begin() + index, g_selector.begin() + index + count);
}

int CountDeeperEntries(int index)
{
    int k = 0;
    while (index + 1 + k < Count() && g_selector[index + 1 + k].indent > g_selector[index].indent)
        ++k;
    return k;
}

int FindChainStart()
{
    for (int i = 0; i < Count(); ++i)
        if (g_selector[i].indent == 1) return i;
    return -1;
}

int PushChainEntry(const std::wstring &currentFolder, const std::wstring &documentsFolder,
                   int windowsKind)
{
    const int n = FindLastSelectorEntry(DriveKey(currentFolder));
    if (n < 0) return -1;
    if (!InsertSelectorEntry(n + 1, NormalizeDrivePath(currentFolder), g_selector[n].indent + 1,
                             kSelectorImageOpen))
        return -1;
    // The folder left behind is no longer the open one; a drive keeps its own icon.
    if (!IsDriveEntry(n)) {
        const bool documents = SameNameIgnoringCase(g_selector[n].text, documentsFolder);
        switch (ChooseChainFolderIcon(documents, windowsKind)) {
        case FolderIcon::DocumentsMe: g_selector[n].image = kSelectorImageDocumentsMe; break;
        case FolderIcon::Documents9x: g_selector[n].image = kSelectorImageDocuments9x; break;
        default: g_selector[n].image = kSelectorImageFolder; break;
        }
    }
    return n + 1;
}

int PopChainEntry(const std::wstring &currentFolder)
{
    const int n = FindLastSelectorEntry(DriveKey(currentFolder));
    // Only a chain entry can be left; the drive entry itself stays.
    if (n <= 0 || IsDriveEntry(n)) return -1;
    RemoveSelectorEntries(n, 1);
    if (!IsDriveEntry(n - 1)) g_selector[n - 1].image = kSelectorImageOpen;
    return n - 1;
}

int CutChainBelow(int sel)
{
    if (sel < 0 || sel >= Count()) return 0;
    const int k = CountDeeperEntries(sel);
    if (k == 0) return 0;
    RemoveSelectorEntries(sel + 1, k);
    if (!IsDriveEntry(sel)) g_selector[sel].image = kSelectorImageOpen;
    return k;
}

int DropChainFor(int sel)
{
    const int first = FindChainStart();
    if (first <= 0) return sel;
    const int dropped = CountDeeperEntries(first) + 1;
    RemoveSelectorEntries(first, dropped);
    return first > sel ? sel : sel - dropped;
}
