#include "item_rename.h"

#include <cwchar>
#include <vector>

#include "handles.h"
#include "item_access.h"
#include "journal.h"
#include "path_text.h"
#include "subtree_walk.h"

namespace {

// Whether the item at path is stored under exactly the name path gives it.
bool StoredAs(const std::wstring &path)
{
    if (StoredName(path) == NameOf(path)) return true;
    std::vector<std::wstring> names;
    ReadFolderNames(ParentOf(path), &names);
    return std::find(names.begin(), names.end(), NameOf(path)) != names.end();
}

// Volume and index of the item at path; false when it cannot be opened.
bool IdentityOf(const std::wstring &path, BY_HANDLE_FILE_INFORMATION *info)
{
    FileHandle item(CreateFileW(SystemPath(path).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return item.Valid() && GetFileInformationByHandle(item.Get(), info);
}

// Whether name, in the folder, is the short name of an entry other than
// ownName. Such a name reaches that entry once the item leaves it, so the
// item could not come back to it.
bool ShortNameOfAnother(const std::wstring &folder, const std::wstring &name,
                        const std::wstring &ownName)
{
    WIN32_FIND_DATAW found = {};
    FindHandle search(FindFirstFileExW(SystemPath(JoinPath(folder, L"*")).c_str(),
                                       FindExInfoStandard, &found, FindExSearchNameMatch, nullptr,
                                       0));
    if (!search.Valid()) return false;
    do {
        if (found.cAlternateFileName[0] && SameNameIgnoringCase(found.cAlternateFileName, name) &&
            !SameNameIgnoringCase(found.cFileName, ownName))
            return true;
    } while (FindNextFileW(search.Get(), &found));
    return false;
}

bool Rename(const std::wstring &from, const std::wstring &to)
{
    return MoveFileExW(SystemPath(from).c_str(), SystemPath(to).c_str(), 0) != FALSE;
}

}  // namespace

// The name the file system keeps for the item at path (as its folder lists
// it), or empty when there is none. A search may match loosely: Wine takes
// "REPORT." for "report" too.
std::wstring StoredName(const std::wstring &path)
{
    WIN32_FIND_DATAW found = {};
    FindHandle search(HasWildcard(NameOf(path)) ? INVALID_HANDLE_VALUE
                                                : FindFirstFileW(SystemPath(path).c_str(), &found));
    return search.Valid() ? std::wstring(found.cFileName) : std::wstring();
}

// True when the new path is free or reaches the item itself (whose stored
// name is ownName), never a different item.
bool NamesOnlyTheItem(const std::wstring &newPath, const std::wstring &itemPath,
                      const std::wstring &ownName)
{
    const std::wstring other = StoredName(newPath);
    if (other.empty() || other == ownName) return true;
    // The search may have matched loosely, and a folder another system wrote
    // may hold "Case.txt" beside "case.txt": the item the path opens tells.
    BY_HANDLE_FILE_INFORMATION named = {}, own = {};
    return IdentityOf(newPath, &named) && IdentityOf(itemPath, &own) &&
           named.dwVolumeSerialNumber == own.dwVolumeSerialNumber &&
           named.nFileIndexHigh == own.nFileIndexHigh && named.nFileIndexLow == own.nFileIndexLow;
}

// Moves from to to without ever replacing an existing item. Some file systems
// answer a rename that only changes case with success and keep the old
// spelling; the item then goes once through a free temporary name beside it.
// Gives the path at which the item is afterwards.
std::wstring RenameKeepingItem(const std::wstring &from, const std::wstring &to)
{
    if (!Rename(from, to)) return from;
    if (StoredAs(to)) return to;
    // Through a temporary name only where both names stay the item's own.
    const std::wstring ownName = StoredName(from);
    if (ShortNameOfAnother(ParentOf(to), NameOf(to), ownName) ||
        ShortNameOfAnother(ParentOf(from), NameOf(from), ownName))
        return from;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[16] = {};
        std::swprintf(name, 16, L"~case%02d.tmp", attempt);
        const std::wstring temporary = JoinPath(ParentOf(to), name);
        if (GetFileAttributesW(SystemPath(temporary).c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        // The temporary name is on the disk before the item takes it, so
        // that a process ended between the two renames leaves it findable.
        if (!JournalRenameBegins({from, temporary})) return to;
        if (!Rename(to, temporary)) {
            const DWORD error = GetLastError();
            JournalRenameEnds(from);
            if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
            return to;
        }
        // The new name was refused: back under the old one.
        const std::wstring where = Rename(temporary, to)     ? to
                                   : Rename(temporary, from) ? from
                                                             : temporary;
        if (where != temporary) JournalRenameEnds(from);
        return where;
    }
    return to;
}


std::wstring RenameItemSafely(const std::wstring &path, const std::wstring &newPath, NotChanged *why)
{
    NotChanged ignored;
    NotChanged &reason = why ? *why : ignored;
    const std::wstring storedName = StoredName(path);
    if (storedName.empty() || storedName != NameOf(path)) {
        reason = NotChanged::Gone;
        return path;
    }
    if ((SameNameIgnoringCase(NameOf(newPath), storedName) && HasCaseTwin(ParentOf(path), storedName)) ||
        !NamesOnlyTheItem(newPath, path, storedName)) {
        reason = NotChanged::NameTaken;
        return path;
    }
    FileHandle item;
    const ItemReach reach = OpenItemForChange(path, item);
    item.Close();
    if (reach == ItemReach::OwnProgram || reach == ItemReach::Missing) {
        reason = reach == ItemReach::OwnProgram ? NotChanged::OwnProgram : NotChanged::Gone;
        return path;
    }
    // A link is renamed as itself; its attributes, which a path reaches
    // through the link, are left alone.
    const bool attributesReachable = reach == ItemReach::Opened;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!ReadItemData(path, &data)) {
        reason = ReasonOfError(GetLastError());
        return path;
    }
    // Without read-only the rename goes through.
    if (attributesReachable) SetItemAttributes(path, 0);
    const std::wstring where = RenameKeepingItem(path, newPath);
    if (where == path) reason = ReasonOfError(GetLastError());
    // The attributes go back on the item where it now is, never on a path
    // that could name another item.
    if (attributesReachable) SetItemAttributes(where, data.dwFileAttributes);
    return where;
}
