#pragma once
// Trees of real files for tests (inside a TempFolder of test_support.h) and
// a listing of everything below a folder (names, kinds, attributes, sizes,
// bytes and own times) to compare a tree before and after an operation.

#include <windows.h>

#include <map>
#include <string>

#include "test_support.h"

void MakeFolder(const std::string &path);
void MakeFileWith(const std::string &path, const std::string &bytes);
std::string ReadBytes(const std::string &path);

struct ListedEntry {
    bool isFolder = false;
    DWORD attributes = 0;
    ULONGLONG size = 0;
    std::string bytes;
    ULONGLONG created = 0;
    ULONGLONG written = 0;
};
// Every entry below root (not root itself), by path relative to root; a
// name no path can hold is read through its short name, and a backslash
// inside a name is keyed as "%5C".
using TreeListing = std::map<std::string, ListedEntry>;
TreeListing ListTree(const std::string &root);
// A readable difference of two listings, empty when equal.
std::string DescribeDifference(const TreeListing &before, const TreeListing &after);

ULONGLONG ToCount(const FILETIME &t);
FILETIME FromCount(ULONGLONG count);
// The UTC file time of a local date and time, as the writers convert it.
ULONGLONG LocalToCount(int year, int month, int day, int hour, int minute, int second);

