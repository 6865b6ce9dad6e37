#pragma once
// The texts and icon choice of one folder-list row. No window code here, so
// the rules are tested directly; the folder list and the refresh after a
// change both write their columns with these.

constexpr int kSizeTextSize = 32;       // "%10" layout of a 64-bit size, terminator included
constexpr int kAttributeTextSize = 8;   // "RHSA" and the terminator

// The size right-aligned in a field of 10 characters (leading blanks, no
// separators), wider when the number needs it: all 64 bits are shown.
void FormatSizeText(unsigned long long size, char (&out)[kSizeTextSize]);

// "R", "H", "S", "A" in this order for the read-only, hidden, system and
// archive bits that are set in the file attributes; empty when none is.
void FormatAttributeLetters(unsigned long attributes, char (&out)[kAttributeTextSize]);

// "Recycled" or "Recycler", any case: the recycle bin's folder names.
bool IsRecycleBinName(const char *name);
// ASCII comparison without regard to case (names of the system's own folders).
bool SameNameIgnoringCase(const char *a, const char *b);

// The Type column of a folder row in the given language.
const char *FolderTypeText(const char *name, int japanese);

// The images a folder row can show.
enum class FolderIcon { Folder, RecycleXp, RecycleMe, Recycle9x, DocumentsMe, Documents9x };

// The image of a folder row by its name and the windows kind; isWindowsDocuments
// tells whether the folder's full path is the My Documents folder of the
// Windows drive.
FolderIcon ChooseFolderIcon(const char *name, bool isWindowsDocuments, int windowsKind);

// The name of the icon resource that shows the image.
const char *FolderIconResource(FolderIcon icon);

// The icon of a folder in the drive selector's chain that is not the current
// folder: the documents icon only for the My Documents folder of the Windows
// drive under the kinds that show it.
FolderIcon ChooseChainFolderIcon(bool isWindowsDocuments, int windowsKind);

// out = prefix + name when it fits the buffer of size outSize (terminator
// included); false, and out left empty, when it does not: a path is skipped,
// never cut into another one.
bool JoinPathFits(const char *prefix, const char *name, char *out, int outSize);
