#include "test_support.h"

#include "change_lock.h"
#include "journal.h"
#include "path_text.h"
#include "target_time.h"

#include <cstdio>

std::wstring W(const std::string &utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                           nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

std::string U(const std::wstring &wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0],
                            length, nullptr, nullptr);
    return utf8;
}

namespace {

void RemoveTree(const std::wstring &path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(SystemPath(path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            SetFileAttributesW(SystemPath(child).c_str(), FILE_ATTRIBUTE_NORMAL);
            // A linked folder goes as the link, never with what it leads to.
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                RemoveTree(child);
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(SystemPath(child).c_str());
            else
                DeleteFileW(SystemPath(child).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    SetFileAttributesW(SystemPath(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(SystemPath(path).c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    static int counter = 0;
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    for (;;) {
        char name[64];
        std::snprintf(name, sizeof name, "retempo-%lu-%d", GetCurrentProcessId(), ++counter);
        std::string candidate = U(base) + name;
        if (CreateDirectoryW(W(candidate).c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;  // path_ stays empty
    }
}

TempFolder::~TempFolder()
{
    if (path_.empty()) return;
    RemoveTree(W(path_));
}

bool MakeFile(const std::string &path)
{
    HANDLE h = CreateFileW(SystemPath(W(path)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(h, "x", 1, &written, nullptr);
    CloseHandle(h);
    return true;
}

bool StampItem(const std::string &path, const FILETIME &when)
{
    HANDLE h = CreateFileW(SystemPath(W(path)).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BOOL ok = SetFileTime(h, &when, &when, &when);
    CloseHandle(h);
    return ok != FALSE;
}

bool ReadItem(const std::string &path, ItemTimes *out)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(SystemPath(W(path)).c_str(), GetFileExInfoStandard, &data)) return false;
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

std::string CurrentDirectory()
{
    wchar_t path[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, path);
    return U(path);
}

namespace {

struct RegisteredChild {
    const char *name;
    ChildMain main;
};

std::vector<RegisteredChild> &Children()
{
    static std::vector<RegisteredChild> children;
    return children;
}

}  // namespace

ChildMode::ChildMode(const char *name, ChildMain main)
{
    Children().push_back({name, main});
}

int RunChildMode(int argc, char **argv)
{
    if (argc < 5 || std::string(argv[1]) != "--child") return -1;
    g_journalFolder = W(argv[3]);
    g_changeLockName = W(argv[4]);
    for (const RegisteredChild &child : Children())
        if (child.name == std::string(argv[2]))
            return child.main(std::vector<std::string>(argv + 5, argv + argc));
    return 99;
}

HANDLE StartChild(const std::string &name, const std::vector<std::string> &args)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\" --child " + W(name) + L" \"" +
                               g_journalFolder + L"\" \"" + g_changeLockName + L"\"";
    for (const std::string &arg : args) commandLine += L" \"" + W(arg) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

long WaitForChild(HANDLE process, DWORD timeoutMs)
{
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<long>(code);
}
