#include "test_support.h"

#include "target_time.h"

#include <cstdio>

namespace {

void RemoveTree(const std::wstring &path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    static int counter = 0;
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "retempo-%lu-%d", GetCurrentProcessId(), ++counter);
        std::string candidate = std::string(base) + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;  // path_ stays empty
    }
}

TempFolder::~TempFolder()
{
    if (path_.empty()) return;
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path_.c_str(), -1, wide, MAX_PATH);
    RemoveTree(wide);
}

bool MakeFile(const std::string &path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
    return true;
}

bool StampItem(const std::string &path, const FILETIME &when)
{
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BOOL ok = SetFileTime(h, &when, &when, &when);
    CloseHandle(h);
    return ok != FALSE;
}

bool ReadItem(const std::string &path, ItemTimes *out)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    out->created = data.ftCreationTime;
    out->accessed = data.ftLastAccessTime;
    out->written = data.ftLastWriteTime;
    out->attributes = data.dwFileAttributes;
    return true;
}

FILETIME UtcOfLocal(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    FILETIME localFile = {}, utc = {};
    SystemTimeToFileTime(&local, &localFile);
    LocalFileTimeToFileTime(&localFile, &utc);
    return utc;
}

void SetTargetTime(int year, int month, int day, int hour, int minute, int second)
{
    WriteTimeField(g_targetTime[kYear], year);
    WriteTimeField(g_targetTime[kMonth], month);
    WriteTimeField(g_targetTime[kDay], day);
    WriteTimeField(g_targetTime[kHour], hour);
    WriteTimeField(g_targetTime[kMinute], minute);
    WriteTimeField(g_targetTime[kSecond], second);
}
