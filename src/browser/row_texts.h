#pragma once
// The texts and icon choice of one folder-list row. No window code here, so
// the rules are tested directly; the folder list and the refresh after a
// change both write their columns with these.
#include <string>

#include "path_text.h"

// The size right-aligned in a field of 10 characters (leading blanks, no
// separators), wider when the number needs it: all 64 bits are shown.
std::wstring FormatSizeText(unsigned long long size);

// "R", "H", "S", "A" in this order for the read-only, hidden, system and
// archive bits that are set in the file attributes; empty when none is.
std::wstring FormatAttributeLetters(unsigned long attributes);

// "Recycled" or "Recycler", any case: the recycle bin's folder names.
bool IsRecycleBinName(const std::wstring &name);

// The Type column of a folder row in the given language.
const wchar_t *FolderTypeText(const std::wstring &name, int japanese);

// The images a folder row can show.
enum class FolderIcon { Folder, RecycleXp, RecycleMe, Recycle9x, DocumentsMe, Documents9x };

// The image of a folder row by its name and the windows kind; isWindowsDocuments
// tells whether the folder's full path is the My Documents folder of the
// Windows drive.
FolderIcon ChooseFolderIcon(const std::wstring &name, bool isWindowsDocuments, int windowsKind);

// The name of the icon resource that shows the image.
const char *FolderIconResource(FolderIcon icon);

// The icon of a folder in the drive selector's chain that is not the current
// folder: the documents icon only for the My Documents folder of the Windows
// drive under the kinds that show it.
FolderIcon ChooseChainFolderIcon(bool isWindowsDocuments, int windowsKind);
