#include "drop_test_support.h"

#include <shlobj.h>

#include <cstring>

#include "path_text.h"
#include "test_support.h"

namespace {

int g_folderSerial = 0;

void WriteFileText(const std::string &path, const std::string &content)
{
    HANDLE file = CreateFileW(SystemPath(W(path)).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

DropTestFolder::DropTestFolder(const char *tag)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = U(temp) + "retempo_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++g_folderSerial);
    RemoveTree(W(path_));
    CreateDirectoryW(W(path_).c_str(), nullptr);
}

DropTestFolder::~DropTestFolder()
{
    RemoveTree(W(path_));
}

std::string DropTestFolder::File(const std::string &relative, const std::string &content) const
{
    std::string full = path_ + "\\" + relative;
    WriteFileText(full, content);
    return full;
}

std::string DropTestFolder::Folder(const std::string &relative) const
{
    std::string full = path_ + "\\" + relative;
    CreateDirectoryW(SystemPath(W(full)).c_str(), nullptr);
    return full;
}

void RemoveTree(const std::wstring &path)
{
    const std::wstring system = SystemPath(path);
    DWORD attributes = GetFileAttributesW(system.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(system.c_str());
        return;
    }
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((system + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!std::wcscmp(found.cFileName, L".") || !std::wcscmp(found.cFileName, L".."))
                continue;
            RemoveTree(path + L"\\" + found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(system.c_str());
}

namespace {

template <typename Char>
HGLOBAL MakeDrop(const std::vector<std::basic_string<Char>> &paths, BOOL wide)
{
    size_t chars = 1;
    for (const auto &p : paths) chars += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(Char));
    auto *block = static_cast<DROPFILES *>(GlobalLock(memory));
    block->pFiles = sizeof(DROPFILES);
    block->fWide = wide;
    Char *out = reinterpret_cast<Char *>(reinterpret_cast<char *>(block) + sizeof(DROPFILES));
    for (const auto &p : paths) {
        std::memcpy(out, p.c_str(), p.size() * sizeof(Char));
        out += p.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

}  // namespace

HGLOBAL MakeDropHandle(const std::vector<std::string> &paths)
{
    std::vector<std::wstring> wide;
    for (const std::string &path : paths) wide.push_back(W(path));
    return MakeDrop(wide, TRUE);
}

HGLOBAL MakeDropHandleInCodePage(const std::vector<std::string> &paths)
{
    return MakeDrop(paths, FALSE);
}

HGLOBAL MakeDropHandleWide(const std::vector<std::wstring> &paths)
{
    return MakeDrop(paths, TRUE);
}

void SetItemTime(const std::string &path, int year, int month, int day, int hour, int minute,
                 int second)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    FILETIME localFile, utc;
    SystemTimeToFileTime(&local, &localFile);
    LocalFileTimeToFileTime(&localFile, &utc);
    HANDLE h = CreateFileW(SystemPath(W(path)).c_str(), FILE_WRITE_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SetFileTime(h, &utc, &utc, &utc);
    CloseHandle(h);
}
