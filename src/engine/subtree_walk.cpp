#include "subtree_walk.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "handles.h"
#include "item_names.h"
#include "path_limits.h"

namespace {

struct WalkEntry {
    char name[MAX_PATH];           // as the file system reports it, for reports
    char fullPath[kPathBufferSize];  // empty when the entry cannot be reached
    bool isFolder;
    bool isLink;
};

// Everything the folder holds, read before anything in it is changed.
// *listed is false when the folder could not be read to its end.
std::vector<WalkEntry> ReadEntries(const char *folder, bool *listed)
{
    std::vector<WalkEntry> entries;
    *listed = false;
    // The pattern is the only text longer than a path: folder plus "\*.*".
    char pattern[kPathBufferSize + 4] = {};
    std::size_t length = std::strlen(folder);
    if (length > static_cast<std::size_t>(kMaxPathChars)) return entries;
    std::memcpy(pattern, folder, length);
    std::strcpy(pattern + length, EndsWithBackslash(folder, IsProcessLeadByte) ? "*.*" : "\\*.*");

    WIN32_FIND_DATAA found = {};
    FindHandle search(FindFirstEntry(pattern, &found));
    if (!search.Valid()) {
        // Only a root without any entry has nothing to give a search.
        *listed = GetLastError() == ERROR_FILE_NOT_FOUND;
        return entries;
    }
    do {
        // Dot names are private to whoever made them; "." and ".." go with them.
        if (found.cFileName[0] == '.') continue;
        WalkEntry entry = {};
        std::memcpy(entry.name, found.cFileName, sizeof entry.name);
        entry.name[sizeof entry.name - 1] = '\0';
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        const char *usable = UsableName(found);
        if (usable) JoinPath(folder, usable, entry.fullPath);
        entries.push_back(entry);
    } while (FindNextEntry(search.Get(), &found));
    *listed = GetLastError() == ERROR_NO_MORE_FILES;
    return entries;
}

bool IsOwnProgram(const char *folder, const WalkEntry &entry, const char *ownProgramPath)
{
    if (!ownProgramPath || ownProgramPath[0] == '\0') return false;
    if (lstrcmpiA(entry.fullPath, ownProgramPath) == 0) return true;
    // Reached by its short name, the program may still be the file whose
    // long name the program path spells.
    char longPath[kPathBufferSize] = {};
    return JoinPath(folder, entry.name, longPath) && lstrcmpiA(longPath, ownProgramPath) == 0;
}

}  // namespace

bool JoinPath(const char *folder, const char *name, char *out)
{
    std::memset(out, 0, kPathBufferSize);
    std::size_t folderLength = std::strlen(folder);
    std::size_t nameLength = std::strlen(name);
    // By characters: in code page 932 a name can end in a byte 0x5C.
    bool needsSeparator = !EndsWithBackslash(folder, IsProcessLeadByte);
    std::size_t total = folderLength + (needsSeparator ? 1 : 0) + nameLength;
    if (total > static_cast<std::size_t>(kMaxPathChars)) return false;
    std::memcpy(out, folder, folderLength);
    if (needsSeparator) out[folderLength] = '\\';
    std::memcpy(out + folderLength + (needsSeparator ? 1 : 0), name, nameLength);
    return true;
}

bool WalkSubtree(const char *folder, const char *ownProgramPath, const WalkVisit &visit,
                 const WalkUnreachable &unreachable, WalkOrder order)
{
    const bool folderFirst = order == WalkOrder::FolderFirst;
    // A file has nothing below it, and a folder that is gone nothing to walk;
    // one that is there but cannot be read has left its contents unreached.
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
        return unreachable(folder, nullptr);
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    bool listed = false;
    const std::vector<WalkEntry> entries = ReadEntries(folder, &listed);
    if (!listed && !unreachable(folder, nullptr)) return false;
    for (const WalkEntry &entry : entries) {
        if (entry.fullPath[0] == '\0') {
            if (!unreachable(folder, entry.name)) return false;
            continue;
        }
        if (entry.isFolder) {
            if (folderFirst && !visit(entry.fullPath, true)) return false;
            // A linked folder is changed as an entry but not walked through:
            // its contents belong elsewhere and may lead back up the tree.
            if (!entry.isLink &&
                !WalkSubtree(entry.fullPath, ownProgramPath, visit, unreachable, order))
                return false;
            if (!folderFirst && !visit(entry.fullPath, true)) return false;
        } else if (!IsOwnProgram(folder, entry, ownProgramPath)) {
            if (!visit(entry.fullPath, false)) return false;
        }
    }
    return true;
}
