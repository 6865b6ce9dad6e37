#include "path_text.h"

#include <cwchar>

#include <windows.h>

namespace {

const wchar_t kExtended[] = L"\\\\?\\";
const wchar_t kExtendedShare[] = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring &text, const wchar_t *prefix)
{
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

bool IsDrivePath(const std::wstring &path)
{
    return path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

bool IsSharePath(const std::wstring &path)
{
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' &&
           path[2] != L'.';
}

}  // namespace

std::wstring SystemPath(const std::wstring &path)
{
    if (IsDrivePath(path)) return kExtended + path;
    if (IsSharePath(path)) return kExtendedShare + path.substr(2);
    return path;
}

std::wstring DisplayPath(const std::wstring &path)
{
    if (StartsWith(path, kExtendedShare)) return L"\\\\" + path.substr(8);
    if (StartsWith(path, kExtended)) return path.substr(4);
    return path;
}

std::wstring JoinPath(const std::wstring &folder, const std::wstring &name)
{
    if (!folder.empty() && folder.back() == L'\\') return folder + name;
    return folder + L"\\" + name;
}

std::wstring ParentOf(const std::wstring &path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    // A drive's root keeps its backslash: "C:" alone names the drive's current folder.
    if (slash == 2 && path[1] == L':') return path.substr(0, 3);
    return path.substr(0, slash);
}

std::wstring NameOf(const std::wstring &path)
{
    const std::size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring RootOf(const std::wstring &path)
{
    if (IsDrivePath(path)) {
        std::wstring root = path.substr(0, 3);
        if (root[0] >= L'a' && root[0] <= L'z') root[0] = static_cast<wchar_t>(root[0] - L'a' + L'A');
        return root;
    }
    if (IsSharePath(path)) {
        const std::size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos) return std::wstring();
        const std::size_t share = path.find(L'\\', server + 1);
        return share == std::wstring::npos ? path + L"\\" : path.substr(0, share + 1);
    }
    return std::wstring();
}

bool HasWildcard(const std::wstring &text)
{
    return text.find_first_of(L"*?") != std::wstring::npos;
}

bool NameRefusedInPath(const std::wstring &name)
{
    for (const wchar_t c : name)
        if (c < 0x20 || std::wcschr(L"<>\"|?*/\\", c)) return true;
    return false;
}

std::wstring WidenAscii(const char *text)
{
    std::wstring wide;
    for (; text && *text; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return wide;
}

bool SameNameIgnoringCase(const std::wstring &a, const std::wstring &b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}
