#include "temp_tree.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

#include "path_text.h"
#include "test_support.h"

void MakeFolder(const std::string &path)
{
    ASSERT_TRUE(CreateDirectoryW(SystemPath(W(path)).c_str(), nullptr)) << path;
}

void MakeFileWith(const std::string &path, const std::string &bytes)
{
    HANDLE file = CreateFileW(SystemPath(W(path)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size()) << path;
}

std::string ReadBytes(const std::string &path)
{
    HANDLE file = CreateFileW(SystemPath(W(path)).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

ULONGLONG ToCount(const FILETIME &t)
{
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

FILETIME FromCount(ULONGLONG count)
{
    FILETIME t;
    t.dwLowDateTime = static_cast<DWORD>(count);
    t.dwHighDateTime = static_cast<DWORD>(count >> 32);
    return t;
}

ULONGLONG LocalToCount(int year, int month, int day, int hour, int minute, int second)
{
    return ToCount(UtcOfLocal(year, month, day, hour, minute, second));
}

namespace {

// A name made by another system that no path can hold: it is listed, and
// reached by its short name.
bool Unspellable(const std::wstring &name)
{
    return name.find_first_of(L"<>\"|?*/\\") != std::wstring::npos ||
           std::any_of(name.begin(), name.end(), [](wchar_t c) { return c < 0x20; });
}

// Lists the folder reached by folder (short names where the real ones
// cannot be spelled), keyed by the real names.
void ListInto(const std::string &folder, const std::string &relative, TreeListing &listing)
{
    std::vector<std::pair<std::string, ListedEntry>> here;
    std::map<std::string, std::string> reach;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(SystemPath(W(folder + "\\*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = U(found.cFileName);
        if (name == "." || name == "..") continue;
        ListedEntry entry;
        entry.isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.attributes = found.dwFileAttributes;
        entry.size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entry.created = ToCount(found.ftCreationTime);
        entry.written = ToCount(found.ftLastWriteTime);
        // A backslash inside a name is keyed as %5C, apart from an entry of a
        // folder of that name.
        std::string keyName;
        for (char c : name) keyName += c == '\\' ? std::string("%5C") : std::string(1, c);
        const std::string key = relative.empty() ? keyName : relative + "\\" + keyName;
        here.emplace_back(key, entry);
        const bool own = !Unspellable(found.cFileName);
        if (own || found.cAlternateFileName[0])
            reach[key] = folder + "\\" + (own ? name : U(found.cAlternateFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    // Bytes and subfolders only after every time of this folder has been read.
    for (auto &[key, entry] : here) {
        if (!entry.isFolder && reach.count(key)) entry.bytes = ReadBytes(reach[key]);
        listing[key] = entry;
    }
    for (auto &[key, entry] : here)
        if (entry.isFolder && reach.count(key)) ListInto(reach[key], key, listing);
}

}  // namespace

TreeListing ListTree(const std::string &root)
{
    TreeListing listing;
    ListInto(root, "", listing);
    return listing;
}

std::string DescribeDifference(const TreeListing &before, const TreeListing &after)
{
    std::ostringstream out;
    for (const auto &[key, entry] : before) {
        auto it = after.find(key);
        if (it == after.end()) {
            out << "missing: " << key << "\n";
            continue;
        }
        const ListedEntry &other = it->second;
        if (entry.isFolder != other.isFolder) out << "kind changed: " << key << "\n";
        if (entry.attributes != other.attributes)
            out << "attributes " << entry.attributes << " -> " << other.attributes << ": " << key << "\n";
        if (entry.size != other.size || entry.bytes != other.bytes) out << "bytes changed: " << key << "\n";
        if (entry.created != other.created)
            out << "creation time " << entry.created << " -> " << other.created << ": " << key << "\n";
        if (entry.written != other.written)
            out << "write time " << entry.written << " -> " << other.written << ": " << key << "\n";
    }
    for (const auto &[key, entry] : after)
        if (!before.count(key)) out << "new: " << key << "\n";
    return out.str();
}

