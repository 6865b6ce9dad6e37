#include "item_names.h"

#include <cstring>

#include "path_limits.h"
#include "platform_seams.h"

namespace {

// Writes text in the code page into out (size bytes); every character
// without an exact byte there, and a text that does not fit, gives "?".
template <std::size_t size>
void SpellExactly(const wchar_t *text, char (&out)[size])
{
    std::memset(out, 0, size);
    if (text[0] == L'\0') return;
    const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, out,
                                            static_cast<int>(size) - 1, "?", nullptr);
    if (written <= 0) {
        std::memset(out, 0, size);
        out[0] = '?';
    }
}

}  // namespace

void AnsiEntry(const WIN32_FIND_DATAW &wide, WIN32_FIND_DATAA *found)
{
    std::memset(found, 0, sizeof *found);
    found->dwFileAttributes = wide.dwFileAttributes;
    found->ftCreationTime = wide.ftCreationTime;
    found->ftLastAccessTime = wide.ftLastAccessTime;
    found->ftLastWriteTime = wide.ftLastWriteTime;
    found->nFileSizeHigh = wide.nFileSizeHigh;
    found->nFileSizeLow = wide.nFileSizeLow;
    found->dwReserved0 = wide.dwReserved0;
    found->dwReserved1 = wide.dwReserved1;
    SpellExactly(wide.cFileName, found->cFileName);
    SpellExactly(wide.cAlternateFileName, found->cAlternateFileName);
}

bool IsProcessLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

bool HasWildcard(const char *text)
{
    return text && std::strpbrk(text, "?*") != nullptr;
}

const char *UsableName(const WIN32_FIND_DATAA &found)
{
    if (!HasWildcard(found.cFileName)) return found.cFileName;
    const char *shortName = g_platform.shortName(found);
    if (shortName && shortName[0] != '\0' && !HasWildcard(shortName)) return shortName;
    return nullptr;
}

HANDLE FindFirstEntry(const char *pattern, WIN32_FIND_DATAA *found)
{
    std::memset(found, 0, sizeof *found);
    wchar_t widePattern[kPathBufferSize + 4] = {};
    if (!pattern ||
        MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pattern, -1, widePattern,
                            kPathBufferSize + 3) <= 0) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    WIN32_FIND_DATAW wide = {};
    HANDLE search = FindFirstFileW(widePattern, &wide);
    if (search != INVALID_HANDLE_VALUE) AnsiEntry(wide, found);
    return search;
}

BOOL FindNextEntry(HANDLE search, WIN32_FIND_DATAA *found)
{
    WIN32_FIND_DATAW wide = {};
    if (!FindNextFileW(search, &wide)) return FALSE;
    AnsiEntry(wide, found);
    return TRUE;
}
