#pragma once
// The drive selector's table: one entry per drive of the machine and, right
// after the entry of the current drive, one entry per folder on the path of
// the current folder (the chain), shallowest first. Entry i of the table is
// item i of the control and image i of its image list. No window code here:
// the operations are plain logic over the table.
#include <string>
#include <vector>

// What image an entry shows. Values below kSelectorImageOpen are the index of
// the drive's own icon among the drive icons read at start-up.
constexpr int kSelectorImageOpen = 1000;       // the current folder
constexpr int kSelectorImageFolder = 1001;     // a folder above it
constexpr int kSelectorImageDocumentsMe = 1002;
constexpr int kSelectorImageDocuments9x = 1003;

// A drive entry holds "C:[FIXED-DRIVE]"; a chain entry the folder's full path
// with an upper-case drive letter ("C:\Data\Photos") and its depth below the root.
struct SelectorEntry {
    std::wstring text;
    int indent;
    int image;
};
extern std::vector<SelectorEntry> g_selector;

// Empties the whole table.
void ClearSelectorTable();

// The path's first character in upper case followed by the path from its
// first colon on (C:\Data from c:\Data). A path without a colon is copied with
// its first character upper-cased.
std::wstring NormalizeDrivePath(const std::wstring &path);

// The drive entry text of a drive of the given class (volume_checks.h
// numbering) with its volume label (read for fixed drives only); empty when
// the class gets no entry (no such drive, no root directory).
std::wstring MakeDriveEntryText(wchar_t letter, int driveClass, const std::wstring &label);

// Drive entries are told from chain entries by the "[" right after the
// drive's colon; a folder name may hold "[" too.
bool IsDriveEntry(int index);
// What the control shows: the whole text of a drive entry, the folder's name
// (after the last backslash) of a chain entry.
std::wstring SelectorShownText(int index);

// The entries of one drive begin with its letter and colon ("C:"); a key of a
// whole path matches the chain entry of that folder (any case). -1 when none does.
int FindLastSelectorEntry(const std::wstring &key);
int FindFirstSelectorEntry(const std::wstring &key);

// Appends an entry.
void AppendSelectorEntry(const std::wstring &text, int indent, int image);
// Inserts an entry at index, moving the later ones one place back; false for
// an index outside the table.
bool InsertSelectorEntry(int index, const std::wstring &text, int indent, int image);
// Removes count entries from index on, moving the later ones forward and
// clearing the freed places.
void RemoveSelectorEntries(int index, int count);
// The number of entries directly after index that are deeper than it.
int CountDeeperEntries(int index);
// The first chain entry (indent 1), or -1 when there is no chain.
int FindChainStart();

// The chain steps. Each returns the index to select afterwards, or -1 when
// the table did not change. documentsFolder is the My Documents path of the
// Windows drive, windowsKind picks the icon a folder above the current one gets.

// A folder was entered: appends currentFolder to its drive's chain.
int PushChainEntry(const std::wstring &currentFolder, const std::wstring &documentsFolder,
                   int windowsKind);
// The current folder went up to currentFolder: drops the chain's last entry.
int PopChainEntry(const std::wstring &currentFolder);
// Entry sel of the current drive was chosen: drops the entries below it and
// makes it the current one. Returns the number of entries dropped.
int CutChainBelow(int sel);
// Another drive was chosen: drops the whole chain. Returns the index of the
// chosen entry sel after the drop.
int DropChainFor(int sel);
