#include "item_access.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "path_text.h"
#include "platform_seams.h"
#include "subtree_walk.h"

// Defined with the engine that guards it: no change ever reaches this file.
std::wstring g_programPath;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

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
using SetInformationFn = BOOL(WINAPI *)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
using GetInformationFn = BOOL(WINAPI *)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

// Systems without it open links as themselves anyway.
FinalPathFn FinalPathFunction()
{
    static const FinalPathFn function = KernelFunction<FinalPathFn>("GetFinalPathNameByHandleW");
    return function;
}

SetInformationFn SetInformationFunction()
{
    static const SetInformationFn function =
        KernelFunction<SetInformationFn>("SetFileInformationByHandle");
    return function;
}

GetInformationFn GetInformationFunction()
{
    static const GetInformationFn function =
        KernelFunction<GetInformationFn>("GetFileInformationByHandleEx");
    return function;
}

// The item's name as its handle's object knows it, where that is a path
// under a drive ("\??\C:\..."), in normal form; empty otherwise. Wine
// answers final paths longer than about 300 characters only this way.
std::wstring ObjectPathOf(HANDLE item)
{
    using QueryObjectFn = LONG(WINAPI *)(HANDLE, int kind, void *out, ULONG size, ULONG *needed);
    constexpr int kObjectNameInformation = 1;
    static const QueryObjectFn query = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        FARPROC entry = ntdll ? GetProcAddress(ntdll, "NtQueryObject") : nullptr;
        return reinterpret_cast<QueryObjectFn>(reinterpret_cast<void (*)()>(entry));
    }();
    struct Name {
        USHORT length, maximum;
        const wchar_t *buffer;
    };
    std::vector<LONGLONG> out(8192);  // 64 KiB, aligned for the name and its text
    ULONG needed = 0;
    if (!query || query(item, kObjectNameInformation, out.data(),
                        static_cast<ULONG>(out.size() * sizeof(LONGLONG)), &needed) < 0)
        return std::wstring();
    const Name *name = reinterpret_cast<const Name *>(out.data());
    const std::wstring text(name->buffer, name->length / sizeof(wchar_t));
    if (text.compare(0, 4, L"\\??\\") != 0) return std::wstring();
    return DisplayPath(L"\\\\?\\" + text.substr(4));
}

// The final path of an open item in normal form; empty when the system
// cannot tell.
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
    if (length == 0 && GetLastError() == ERROR_MORE_DATA) return ObjectPathOf(item);
    if (length == 0 || length >= path.size()) return std::wstring();
    path.resize(length);
    return DisplayPath(path);
}


// The final paths of the folders asked for last, the latest first. A walk
// asks for every entry of one folder in turn, and for a folder's own entry
// right after its contents: the folders on the walk's way down stay known.
struct ParentCache {
    std::wstring folder;
    std::wstring finalPath;
    std::wstring sameFolder;  // another final text found to name the same folder
};
constexpr std::size_t kKnownFolders = 16;
std::vector<ParentCache> g_parentCache;

// The folder's entry, moved to the front; null when it is not known.
ParentCache *KnownFolder(const std::wstring &folder)
{
    for (std::size_t i = 0; i < g_parentCache.size(); ++i) {
        if (g_parentCache[i].folder != folder) continue;
        if (i != 0)
            std::rotate(g_parentCache.begin(), g_parentCache.begin() + i, g_parentCache.begin() + i + 1);
        return &g_parentCache.front();
    }
    return nullptr;
}

// The short names that reached entries whose own names no path holds, by
// the system path of the entry's folder and its name.
std::map<std::wstring, std::wstring> g_shortNames;

// The names of the last folder asked about that more than one entry holds
// when case is ignored, in capitals.
struct CaseTwins {
    std::wstring folder;
    std::set<std::wstring> shared;
} g_caseTwins;

std::wstring InCapitals(std::wstring name)
{
    if (!name.empty()) CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
    return name;
}

bool IndexOf(HANDLE item, ULONGLONG *index);

// The short name of the entry called name in the folder at systemFolder,
// only when the short name opens that very entry (same file index as its
// listing gives); empty otherwise.
std::wstring ShortNameLeadingTo(const std::wstring &systemFolder, const std::wstring &name)
{
    const std::wstring key = systemFolder + L'\\' + name;
    const auto known = g_shortNames.find(key);
    if (known != g_shortNames.end()) return known->second;
    GetInformationFn getInformation = GetInformationFunction();
    FileHandle folder(getInformation ? CreateFileW(systemFolder.c_str(), FILE_LIST_DIRECTORY, kShareAll,
                                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                                   nullptr)
                                     : INVALID_HANDLE_VALUE);
    std::wstring shortName;
    LONGLONG listedIndex = 0;
    std::vector<LONGLONG> buffer(8192);  // 64 KiB, aligned as the entries need
    FILE_INFO_BY_HANDLE_CLASS part = FileIdBothDirectoryRestartInfo;
    while (folder.Valid() && shortName.empty() &&
           getInformation(folder.Get(), part, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(LONGLONG)))) {
        part = FileIdBothDirectoryInfo;
        const auto *entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO *>(buffer.data());
        for (;;) {
            if (std::wstring_view(entry->FileName, entry->FileNameLength / sizeof(wchar_t)) == name) {
                shortName.assign(entry->ShortName, entry->ShortNameLength / sizeof(wchar_t));
                listedIndex = entry->FileId.QuadPart;
                break;
            }
            if (!entry->NextEntryOffset) break;
            entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO *>(
                reinterpret_cast<const BYTE *>(entry) + entry->NextEntryOffset);
        }
    }
    if (!shortName.empty()) {
        FileHandle reached(CreateFileW(JoinPath(systemFolder, shortName).c_str(), FILE_READ_ATTRIBUTES,
                                       kShareAll, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        ULONGLONG index = 0;
        if (!reached.Valid() || !IndexOf(reached.Get(), &index) || index != static_cast<ULONGLONG>(listedIndex))
            shortName.clear();
    }
    g_shortNames[key] = shortName;
    return shortName;
}

std::wstring FinalPathOfFolder(const std::wstring &folder)
{
    if (const ParentCache *known = KnownFolder(folder)) return known->finalPath;
    // The folder itself may be reached through links: only the last step
    // of the item's own path matters.
    FileHandle handle(CreateFileW(ReachablePath(folder).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::wstring finalPath = handle.Valid() ? FinalPathOf(handle.Get()) : std::wstring();
    if (!finalPath.empty() && finalPath.back() == L'\\') finalPath.pop_back();
    if (g_parentCache.size() == kKnownFolders) g_parentCache.pop_back();
    g_parentCache.insert(g_parentCache.begin(), {folder, finalPath, std::wstring()});
    return finalPath;
}

// The name the folder's listing gives the entry at path: its stored name,
// whatever letters the path asked for it in.
std::wstring ListedName(const std::wstring &path)
{
    WIN32_FIND_DATAW found = {};
    const std::wstring name = NameOf(path);
    FindHandle search(HasWildcard(name) || NameRefusedInPath(name) ? INVALID_HANDLE_VALUE
                                                : FindFirstFileW(SystemPath(path).c_str(), &found));
    return search.Valid() ? std::wstring(found.cFileName) : std::wstring();
}

// An item's identity: its volume and its index on that volume.
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

// NtQueryInformationFile, for the file index alone: GetFileInformationByHandle
// also asks for the volume's serial number, which under Wine means reading
// the volume's device each time (several times the cost of the whole change).
using QueryInformationFn = LONG(WINAPI *)(HANDLE, void *status, void *out, ULONG size, int kind);
constexpr int kFileInternalInformation = 6;

QueryInformationFn QueryInformationFunction()
{
    static const QueryInformationFn function = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        FARPROC entry = ntdll ? GetProcAddress(ntdll, "NtQueryInformationFile") : nullptr;
        return reinterpret_cast<QueryInformationFn>(reinterpret_cast<void (*)()>(entry));
    }();
    return function;
}

// The item's index on its volume, without the volume.
bool IndexOf(HANDLE item, ULONGLONG *index)
{
    QueryInformationFn query = QueryInformationFunction();
    ULONG_PTR status[2] = {};
    LARGE_INTEGER internal = {};
    if (query && query(item, status, &internal, sizeof internal, kFileInternalInformation) >= 0) {
        *index = static_cast<ULONGLONG>(internal.QuadPart);
        return true;
    }
    FileIdentity identity;
    if (!IdentityOf(item, &identity)) return false;
    *index = (static_cast<ULONGLONG>(identity.high) << 32) | identity.low;
    return true;
}

// The running program's file, as far as it is needed to tell it from any
// other under any name: its size first (one cheap question, and it differs
// for nearly every item), then its index, and only then its volume.
struct ProgramFile {
    bool known = false;
    ULONGLONG size = 0;
    ULONGLONG index = 0;
    DWORD volume = 0;
};

// The file g_programPath names, asked again when the path changes.
const ProgramFile &Program()
{
    static std::wstring knownPath;
    static bool asked = false;
    static ProgramFile program;
    if (!asked || knownPath != g_programPath) {
        asked = true;
        knownPath = g_programPath;
        program = ProgramFile();
        FileHandle file(g_programPath.empty()
                            ? INVALID_HANDLE_VALUE
                            : CreateFileW(SystemPath(g_programPath).c_str(), FILE_READ_ATTRIBUTES,
                                          kShareAll, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        LARGE_INTEGER size = {};
        FileIdentity identity;
        program.known = file.Valid() && GetFileSizeEx(file.Get(), &size) &&
                        IndexOf(file.Get(), &program.index) && IdentityOf(file.Get(), &identity);
        program.size = static_cast<ULONGLONG>(size.QuadPart);
        program.volume = identity.volume;
    }
    return program;
}

// Asked of the open item itself, not of a listing made earlier: the size is
// that of the very item the change would reach.
bool IsProgramFile(HANDLE item)
{
    const ProgramFile &program = Program();
    if (!program.known) return false;
    // A size that cannot be had proves nothing: the index is asked then.
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(item, &size) && static_cast<ULONGLONG>(size.QuadPart) != program.size)
        return false;
    ULONGLONG index = 0;
    if (!IndexOf(item, &index) || index != program.index) return false;
    FileIdentity identity;
    return IdentityOf(item, &identity) && identity.volume == program.volume;
}

bool SameIdentity(HANDLE a, HANDLE b)
{
    FileIdentity first, second;
    return IdentityOf(a, &first) && IdentityOf(b, &second) && first.volume == second.volume &&
           first.high == second.high && first.low == second.low;
}

// Whether finalFolder, the folder part of an entry's final path, names the
// folder the entry was opened in. Wine gives a folder whose name ends in a
// space without it in the folder's own final path, yet with it in its
// entries': the texts differ, the folder is one. Its identity tells.
bool NamesTheFolder(const std::wstring &finalFolder, const std::wstring &folder)
{
    ParentCache *known = KnownFolder(folder);
    if (known && known->sameFolder == finalFolder) return true;
    FileHandle named(CreateFileW(SystemPath(finalFolder).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FileHandle opened(CreateFileW(ReachablePath(folder).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!named.Valid() || !opened.Valid() || !SameIdentity(named.Get(), opened.Get())) return false;
    if (known) known->sameFolder = finalFolder;
    return true;
}

bool IsGone(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

LinkAnswer LinkAnswerOf(HANDLE item, const std::wstring &path)
{
    // A system without final paths opens every link as itself.
    if (!FinalPathFunction()) return LinkAnswer::Itself;
    const std::wstring folder = ParentOf(path);
    if (folder.empty()) return LinkAnswer::Itself;  // a drive's root
    const std::wstring finalPath = FinalPathOf(item);
    const std::size_t finalSlash = finalPath.find_last_of(L'\\');
    if (finalSlash == std::wstring::npos) return LinkAnswer::Unsettled;
    const std::wstring folderFinal = FinalPathOfFolder(folder);
    if (folderFinal.empty()) return LinkAnswer::Unsettled;
    const std::wstring finalFolder = finalPath.substr(0, finalSlash);
    if (!SameNameIgnoringCase(finalFolder, folderFinal) && !NamesTheFolder(finalFolder, folder))
        return LinkAnswer::ThroughLink;
    const std::wstring finalName = finalPath.substr(finalSlash + 1);
    if (finalName == NameOf(path)) return LinkAnswer::Itself;
    // Asked in other letters (a folder Letters just renamed), the entry still
    // answers with its stored name; a link answers with its target's.
    if (finalName == ListedName(path)) return LinkAnswer::Itself;
    // Wine gives a name ending in a dot without its dot: the final path then
    // names another entry ("report" for "report."), or none. Only an open
    // that reached that very entry went through a link.
    FileHandle named(CreateFileW(SystemPath(finalPath).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return named.Valid() && SameIdentity(item, named.Get()) ? LinkAnswer::ThroughLink : LinkAnswer::Itself;
}

void ForgetFinalPathCache()
{
    g_parentCache.clear();
    g_shortNames.clear();
    g_caseTwins = CaseTwins();
}

bool HasCaseTwin(const std::wstring &folder, const std::wstring &name)
{
    // A change of case keeps every name the same when case is ignored, so
    // what one listing found holds for the whole run in that folder.
    if (g_caseTwins.folder != folder) {
        g_caseTwins = CaseTwins();
        g_caseTwins.folder = folder;
        std::vector<std::wstring> names;
        ReadFolderNames(folder, &names);
        std::set<std::wstring> seen;
        for (const std::wstring &each : names)
            if (!seen.insert(InCapitals(each)).second) g_caseTwins.shared.insert(InCapitals(each));
    }
    return g_caseTwins.shared.count(InCapitals(name)) != 0;
}

std::wstring ReachablePath(const std::wstring &path)
{
    const std::wstring root = RootOf(path);
    std::vector<std::wstring> steps;
    bool refused = false;
    for (std::size_t start = root.size(); !root.empty() && start < path.size();) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        steps.push_back(path.substr(start, end - start));
        refused = refused || NameRefusedInPath(steps.back());
        start = end + 1;
    }
    if (!refused) return SystemPath(path);
    std::wstring reached = SystemPath(root);
    for (const std::wstring &step : steps) {
        if (!NameRefusedInPath(step)) {
            reached = JoinPath(reached, step);
            continue;
        }
        const std::wstring shortName = ShortNameLeadingTo(reached, step);
        if (shortName.empty()) return std::wstring();
        reached = JoinPath(reached, shortName);
    }
    return reached;
}

ItemReach OpenItemForChange(const std::wstring &path, FileHandle &item)
{
    const std::wstring systemPath = ReachablePath(path);
    if (systemPath.empty()) {
        item = FileHandle();
        SetLastError(ERROR_INVALID_NAME);
        return ItemReach::Refused;
    }
    constexpr DWORD kFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
    item = FileHandle(CreateFileW(systemPath.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                  kShareAll, nullptr, OPEN_EXISTING, kFlags, nullptr));
    // Wine keeps read-only as a Unix permission and refuses attribute writing
    // to such a file, yet sets its times and attributes through a handle
    // opened for reading them. Windows never refuses here for read-only, and
    // a write through such a handle is read back like any other.
    if (!item.Valid() && GetLastError() == ERROR_ACCESS_DENIED)
        item = FileHandle(CreateFileW(systemPath.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                      OPEN_EXISTING, kFlags, nullptr));
    if (!item.Valid()) {
        const DWORD error = GetLastError();
        if (!IsGone(error)) return ItemReach::Refused;
        // A link whose target is gone still has its entry: a link, not a gap.
        return GetFileAttributesW(systemPath.c_str()) != INVALID_FILE_ATTRIBUTES
                   ? ItemReach::ThroughLink
                   : ItemReach::Missing;
    }
    // Where links open as themselves, the handle is the item the path names.
    switch (g_platform.linksOpenAsThemselves() ? LinkAnswer::Itself
                                               : g_platform.reachedThroughLink(item.Get(), path)) {
    case LinkAnswer::Itself: break;
    case LinkAnswer::ThroughLink: item.Close(); return ItemReach::ThroughLink;
    case LinkAnswer::Unsettled:
        item.Close();
        SetLastError(ERROR_CANT_RESOLVE_FILENAME);
        return ItemReach::Refused;
    }
    if (IsProgramFile(item.Get())) {
        item.Close();
        return ItemReach::OwnProgram;
    }
    return ItemReach::Opened;
}

DWORD AttributesWithFour(DWORD current, DWORD chosen)
{
    // What a change may carry over: the bits a program can set besides the
    // four. The rest (folder, link, compressed, encrypted...) are the file
    // system's own and no call sets them.
    constexpr DWORD kKeptSettable = FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | 0x00020000 /* no scrub data */ |
                                    0x00080000 /* pinned */ | 0x00100000 /* unpinned */;
    const DWORD attributes = (current & kKeptSettable) | (chosen & kFourAttributes);
    // Zero would mean "leave the attributes as they are".
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

bool SetItemAttributes(const std::wstring &path, DWORD chosen, ItemReach *reach)
{
    FileHandle item;
    const ItemReach reached = OpenItemForChange(path, item);
    if (reach) *reach = reached;
    if (reached != ItemReach::Opened) return false;
    SetInformationFn setInformation = SetInformationFunction();
    // Older systems open a link as itself by path as well.
    if (!setInformation) {
        const DWORD current = GetFileAttributesW(SystemPath(path).c_str());
        return current != INVALID_FILE_ATTRIBUTES &&
               SetFileAttributesW(SystemPath(path).c_str(), AttributesWithFour(current, chosen)) != FALSE;
    }
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(item.Get(), FileBasicInfo, &basic, sizeof basic)) return false;
    // Times of zero are left as they are.
    basic.CreationTime.QuadPart = basic.LastAccessTime.QuadPart = 0;
    basic.LastWriteTime.QuadPart = basic.ChangeTime.QuadPart = 0;
    basic.FileAttributes = AttributesWithFour(basic.FileAttributes, chosen);
    return setInformation(item.Get(), FileBasicInfo, &basic, sizeof basic) != FALSE;
}

bool IsLinkItem(const std::wstring &path)
{
    FileHandle item;
    switch (OpenItemForChange(path, item)) {
    case ItemReach::ThroughLink: return true;
    // Not known to be a folder of its own: its contents are not walked.
    case ItemReach::Refused: return GetLastError() == ERROR_CANT_RESOLVE_FILENAME;
    case ItemReach::Opened: {
        BY_HANDLE_FILE_INFORMATION info = {};
        return GetFileInformationByHandle(item.Get(), &info) &&
               (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    default: return false;
    }
}

bool ReadItemData(const std::wstring &path, WIN32_FILE_ATTRIBUTE_DATA *data)
{
    const std::wstring systemPath = ReachablePath(path);
    if (systemPath.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    return GetFileAttributesExW(systemPath.c_str(), GetFileExInfoStandard, data) != FALSE;
}
