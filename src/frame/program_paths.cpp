#include "program_paths.h"

#include <cctype>
#include <cstdio>
#include <cstring>

bool ReadOwnProgramPath(char (&out)[kPathSize])
{
    std::memset(out, 0, sizeof out);
    // The module's own file, not a search by name: the file may have been
    // renamed, and another copy may lie on the search path.
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetModuleFileNameA(nullptr, out, sizeof out);
    if (length == 0 || length >= sizeof out || GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        // A truncated path would name another file; keep nothing.
        std::memset(out, 0, sizeof out);
        return false;
    }
    return true;
}

void DeriveReadmePath(const char *programPath, char (&out)[kPathSize])
{
    std::memset(out, 0, sizeof out);
    size_t length = std::strlen(programPath);
    if (length == 0) return;

    const char *name = programPath;
    for (const char *p = programPath; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    const char *dot = std::strrchr(name, '.');

    char readme[kPathSize] = {};
    int written;
    if (dot)
        written = std::snprintf(readme, sizeof readme, "%.*sTXT",
                                static_cast<int>(dot + 1 - programPath), programPath);
    else
        written = std::snprintf(readme, sizeof readme, "%s.TXT", programPath);
    if (written < 0 || written >= static_cast<int>(sizeof readme)) return;
    std::memcpy(out, readme, sizeof out);
}

void DeriveStartFolder(const char *programPath, char (&out)[kPathSize])
{
    std::memset(out, 0, sizeof out);
    // Only a drive root will do: a program started from a share (\\server\share)
    // or through the \\?\ form has none, and its first characters name no folder.
    if (std::strlen(programPath) < 3 || !std::isalpha(static_cast<unsigned char>(programPath[0])) ||
        programPath[1] != ':' || programPath[2] != '\\')
        return;
    for (int i = 0; i < 3; ++i)
        out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(programPath[i])));
}
