#include "item_access.h"

#include <cstring>
#include <cwchar>
#include <string>

#include "platform_seams.h"

// Defined with the engine that guards it: no change ever reaches this file.
char g_programPath[kPathBufferSize] = {};

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring Wide(const char *text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

// A function of kernel32 bound at run time, null where the system lacks it:
// systems before Vista have neither of the two used here.
template <typename Function>
Function KernelFunction(const char *name)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC entry = kernel ? GetProcAddress(kernel, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

using FinalPathFn = DWORD(WINAPI *)(HANDLE, LPWSTR, DWORD, DWORD);

// Systems without it open links as themselves anyway.
FinalPathFn FinalPathFunction()
{
    static const FinalPathFn function = KernelFunction<FinalPathFn>("GetFinalPathNameByHandleW");
    return function;
}

// The final path of an open item without its "\\?\" (or "\\?\UNC\") prefix;
// empty when the system cannot tell.
std::wstring FinalPathOf(HANDLE item)
{
    FinalPathFn finalPath = FinalPathFunction();
    if (!finalPath) return std::wstring();
    std::wstring path(300, L'\0');
    DWORD length = finalPath(item, &path[0], static_cast<DWORD>(path.size()), 0);
    if (length >= path.size()) {
        path.assign(length + 1, L'\0');
        length = finalPath(item, &path[0], static_cast<DWORD>(path.size()), 0);
    }
    if (length == 0 || length >= path.size()) return std::wstring();
    path.resize(length);
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\" + path.substr(7);
    if (path.compare(0, 4, L"\\\\?\\") == 0) return path.substr(4);
    return path;
}

bool SameText(const std::wstring &a, const std::wstring &b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The final path of the folder last asked for: a walk asks for every entry
// of one folder in turn.
struct ParentCache {
    std::wstring folder;
    std::wstring finalPath;
} g_parentCache;

std::wstring FinalPathOfFolder(const std::wstring &folder)
{
    if (!g_parentCache.folder.empty() && g_parentCache.folder == folder)
        return g_parentCache.finalPath;
    // The folder itself may be reached through links: only the last step
    // of the item's own path matters.
    FileHandle handle(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::wstring finalPath = handle.Valid() ? FinalPathOf(handle.Get()) : std::wstring();
    g_parentCache = {folder, finalPath};
    return finalPath;
}

// The name the folder's listing gives the entry at path (its long name, for
// a path that ends in a short one).
std::wstring ListedName(const std::wstring &path)
{
    WIN32_FIND_DATAW found = {};
    FindHandle search(FindFirstFileW(path.c_str(), &found));
    return search.Valid() ? std::wstring(found.cFileName) : std::wstring();
}

// The running program's file, by volume and index.
struct FileIdentity {
    DWORD volume = 0, high = 0, low = 0;
};

bool IdentityOf(HANDLE item, FileIdentity *identity)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(item, &info)) return false;
    *identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return true;
}

// The identity of the file g_programPath names, asked again when the path changes.
bool ProgramIdentity(FileIdentity *identity)
{
    static char knownPath[kPathBufferSize] = {};
    static bool known = false;
    static FileIdentity program;
    if (std::strcmp(knownPath, g_programPath) != 0) {
        std::memcpy(knownPath, g_programPath, sizeof knownPath);
        FileHandle file(CreateFileA(g_programPath, FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        known = g_programPath[0] && file.Valid() && IdentityOf(file.Get(), &program);
    }
    *identity = program;
    return known;
}

bool IsProgramFile(HANDLE item)
{
    FileIdentity program, candidate;
    return ProgramIdentity(&program) && IdentityOf(item, &candidate) &&
           candidate.volume == program.volume && candidate.high == program.high &&
           candidate.low == program.low;
}

bool IsGone(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool FinalPathLeadsElsewhere(HANDLE item, const char *path)
{
    const std::wstring wide = Wide(path);
    const std::size_t slash = wide.find_last_of(L"\\/");
    if (slash == std::wstring::npos || slash + 1 >= wide.size()) return false;
    const std::wstring finalPath = FinalPathOf(item);
    if (finalPath.empty()) return false;
    const std::size_t finalSlash = finalPath.find_last_of(L'\\');
    if (finalSlash == std::wstring::npos) return false;

    std::wstring folder = wide.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive's root
    std::wstring folderFinal = FinalPathOfFolder(folder);
    if (folderFinal.empty()) return false;
    if (!folderFinal.empty() && folderFinal.back() == L'\\') folderFinal.pop_back();
    if (!SameText(finalPath.substr(0, finalSlash), folderFinal)) return true;
    const std::wstring finalName = finalPath.substr(finalSlash + 1);
    if (SameText(finalName, wide.substr(slash + 1))) return false;
    // Opened by its short name, the item still answers with its own long one.
    return !SameText(finalName, ListedName(wide));
}

void ForgetFinalPathCache()
{
    g_parentCache = ParentCache();
}

ItemReach OpenItemForChange(const char *path, FileHandle &item)
{
    constexpr DWORD kFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    item = FileHandle(CreateFileA(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll,
                                  nullptr, OPEN_EXISTING, kFlags, nullptr));
    // Wine keeps read-only as a Unix permission and refuses attribute writing
    // to such a file, yet sets its times and attributes through a handle
    // opened for reading them. Windows never refuses here for read-only, and
    // a write through such a handle is read back like any other.
    if (!item.Valid() && GetLastError() == ERROR_ACCESS_DENIED)
        item = FileHandle(CreateFileA(path, FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, kFlags, nullptr));
    if (!item.Valid()) {
        const DWORD error = GetLastError();
        if (!IsGone(error)) return ItemReach::Refused;
        // A link whose target is gone still has its entry: a link, not a gap.
        WIN32_FIND_DATAA found = {};
        FindHandle search(FindFirstFileA(path, &found));
        return search.Valid() ? ItemReach::ThroughLink : ItemReach::Missing;
    }
    if (g_platform.reachedThroughLink(item.Get(), path)) {
        item.Close();
        return ItemReach::ThroughLink;
    }
    if (IsProgramFile(item.Get())) {
        item.Close();
        return ItemReach::OwnProgram;
    }
    return ItemReach::Opened;
}

namespace {

using SetInformationFn = BOOL(WINAPI *)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

SetInformationFn SetInformationFunction()
{
    static const SetInformationFn function =
        KernelFunction<SetInformationFn>("SetFileInformationByHandle");
    return function;
}

}  // namespace

bool SetItemAttributes(const char *path, DWORD attributes)
{
    FileHandle item;
    if (OpenItemForChange(path, item) != ItemReach::Opened) return false;
    SetInformationFn setInformation = SetInformationFunction();
    // Older systems open a link as itself by path as well.
    if (!setInformation) return SetFileAttributesA(path, attributes) != FALSE;
    FILE_BASIC_INFO basic = {};  // times of zero are left as they are
    // Zero would mean "leave the attributes as they are".
    basic.FileAttributes = attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
    return setInformation(item.Get(), FileBasicInfo, &basic, sizeof basic) != FALSE;
}

bool IsLinkItem(const char *path)
{
    FileHandle item;
    switch (OpenItemForChange(path, item)) {
    case ItemReach::ThroughLink: return true;
    case ItemReach::Opened: {
        BY_HANDLE_FILE_INFORMATION info = {};
        return GetFileInformationByHandle(item.Get(), &info) &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    default: return false;
    }
}
