#include "subtree_walk.h"

#include <windows.h>

#include "handles.h"
#include "item_access.h"
#include "journal.h"
#include "path_text.h"
#include "run_progress.h"

namespace {

struct WalkEntry {
    std::wstring name;  // exactly as the file system gives it
    bool isFolder;
    bool isLink;
    FILETIME created, accessed, written;
    DWORD attributes;
};

// Lists folder into entries (every name but "." and "..", as found); false
// when the folder could not be read to its end.
template <typename Take>
bool ListFolder(const std::wstring &folder, Take take)
{
    WIN32_FIND_DATAW found = {};
    // The pattern's "*" is the only wildcard any search is given.
    const std::wstring reached = ReachablePath(folder);
    if (reached.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    FindHandle search(FindFirstFileW(JoinPath(reached, L"*").c_str(), &found));
    // Only a root without any entry has nothing to give a search.
    if (!search.Valid()) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") take(name, found);
    } while (FindNextFileW(search.Get(), &found));
    return GetLastError() == ERROR_NO_MORE_FILES;
}


}  // namespace

bool ReadFolderNames(const std::wstring &folder, std::vector<std::wstring> *names)
{
    return ListFolder(folder, [names](const std::wstring &name, const WIN32_FIND_DATAW &) {
        names->push_back(name);
    });
}

bool WalkSubtree(const std::wstring &folder, const std::wstring &ownProgramPath,
                 const WalkVisit &visit, const WalkUnlisted &unlisted, WalkOrder order)
{
    const bool folderFirst = order == WalkOrder::FolderFirst;
    // A file has nothing below it, and a folder that is gone nothing to walk;
    // one that is there but cannot be read has left its contents unreached.
    const std::wstring reached = ReachablePath(folder);
    const DWORD attributes =
        reached.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(reached.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = reached.empty() ? ERROR_INVALID_NAME : GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        return unlisted(folder, NotChanged::NotListed);
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;

    // Everything the folder holds, read before anything in it is changed.
    std::vector<WalkEntry> entries;
    std::vector<std::wstring> unnamed;
    const bool listed =
        ListFolder(folder, [&](const std::wstring &name, const WIN32_FIND_DATAW &found) {
            // Dot names are private to whoever made them.
            if (name[0] == L'.') return;
            if (name.find_first_of(L"\\/") != std::wstring::npos) {
                unnamed.push_back(name);
                return;
            }
            entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                               found.ftCreationTime, found.ftLastAccessTime, found.ftLastWriteTime,
                               found.dwFileAttributes});
        });
    if (!listed && !unlisted(folder, NotChanged::NotListed)) return false;
    for (const std::wstring &name : unnamed)
        if (!unlisted(folder + L'\\' + name, NotChanged::UnreachableName)) return false;
    const auto isOwnProgram = [&](const std::wstring &path) {
        return !ownProgramPath.empty() && SameNameIgnoringCase(path, ownProgramPath);
    };

    // A run with a journal has the folder's entries written down, and on the
    // disk, before the first of them changes. Counting wrote down all it
    // met; what has appeared since is written down here, and raises the
    // run's total. A link is never changed, so never written down.
    if (JournalOpen()) {
        bool recorded = false;
        for (const WalkEntry &entry : entries) {
            const std::wstring path = JoinPath(folder, entry.name);
            if (entry.isLink || (!entry.isFolder && isOwnProgram(path)) || JournalKnows(path)) continue;
            JournalRecord(path, {entry.created, entry.accessed, entry.written, entry.attributes,
                                 entry.name});
            RaiseRunTotal();
            recorded = true;
        }
        if (recorded && !JournalFlush()) return false;
    }

    for (const WalkEntry &entry : entries) {
        const std::wstring path = JoinPath(folder, entry.name);
        if (entry.isFolder) {
            if (folderFirst && !visit(path, true)) return false;
            // A linked folder is an entry, but its contents belong elsewhere
            // and may lead back up the tree.
            if (!entry.isLink && !WalkSubtree(path, ownProgramPath, visit, unlisted, order))
                return false;
            if (!folderFirst && !visit(path, true)) return false;
        } else if (!isOwnProgram(path)) {
            if (!visit(path, false)) return false;
        }
    }
    return true;
}
