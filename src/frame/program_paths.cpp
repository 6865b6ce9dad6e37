#include "program_paths.h"

#include <windows.h>

std::wstring ReadOwnProgramPath()
{
    // The module's own file, not a search by name: the file may have been
    // renamed, and another copy may lie on the search path.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        // A cut path would name another file: ask again with room for all of it.
        if (length < path.size() && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return std::wstring();
        path.assign(path.size() * 2, L'\0');
    }
}

std::wstring DeriveReadmePath(const std::wstring &programPath)
{
    if (programPath.empty()) return std::wstring();
    const std::size_t nameStart = programPath.find_last_of(L"\\/:");
    const std::size_t dot = programPath.find_last_of(L'.');
    if (dot != std::wstring::npos && (nameStart == std::wstring::npos || dot > nameStart))
        return programPath.substr(0, dot + 1) + L"TXT";
    return programPath + L".TXT";
}

std::wstring DeriveStartFolder(const std::wstring &programPath)
{
    // Only a drive root will do: a program started from a share (\\server\share)
    // or through the \\?\ form has none, and its first characters name no folder.
    if (programPath.size() < 3 || programPath[1] != L':' || programPath[2] != L'\\')
        return std::wstring();
    wchar_t letter = programPath[0];
    if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
    if (letter < L'A' || letter > L'Z') return std::wstring();
    return std::wstring(1, letter) + L":\\";
}

std::wstring ReadWindowsFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool StartDetached(std::wstring commandLine, bool showNormal)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (showNormal) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
    }
    // The system may write into the command line: it is a copy of our own.
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}
