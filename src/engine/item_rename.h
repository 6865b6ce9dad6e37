#pragma once
// Renaming an item without ever replacing or reaching another one: Letters
// and the undo of Letters change names through here. No window code here.
#include <windows.h>

#include <string>

#include "run_report.h"

// The name the file system keeps for the item at path (as its folder lists
// it), or empty when there is none.
std::wstring StoredName(const std::wstring &path);

// True when the new path is free or reaches the item itself (whose stored
// name is ownName), never a different item.
bool NamesOnlyTheItem(const std::wstring &newPath, const std::wstring &itemPath,
                      const std::wstring &ownName);

// Moves from to to without ever replacing an existing item; where the file
// system keeps the old spelling of a rename that only changes case, the item
// goes once through a free temporary name beside it. Gives the path at which
// the item is afterwards.
std::wstring RenameKeepingItem(const std::wstring &from, const std::wstring &to);

// Renames the item at path to newPath (in the same folder) as Letters does:
// only when path reaches the item by its stored name and newPath reaches
// nothing else, never the program's own file. A read-only item gets its
// attributes back after; a link is renamed as itself. Gives the path at
// which the item is afterwards (path itself when nothing was renamed); *why,
// when given, says why nothing was renamed.
std::wstring RenameItemSafely(const std::wstring &path, const std::wstring &newPath,
                              NotChanged *why = nullptr);
