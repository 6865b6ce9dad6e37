#pragma once
// Helpers shared by the tests: a private temporary folder, seam and global
// guards, and file-time reading.
#include <windows.h>

#include <string>
#include <vector>

#include "platform_seams.h"

// Test paths and texts are UTF-8; the programs and the system take UTF-16.
std::wstring W(const std::string &utf8);
std::string U(const std::wstring &wide);

// A new, empty folder under the system's temporary folder, removed with all
// it holds (attributes cleared first) when the guard ends. Path() and
// Child() are UTF-8.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::string &Path() const { return path_; }
    std::string Child(const std::string &name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Puts every seam back as it was when the guard ends.
struct SeamGuard {
    PlatformSeams saved = g_platform;
    ~SeamGuard() { g_platform = saved; }
};

// Puts an int global back when the guard ends.
struct IntGuard {
    explicit IntGuard(int &g) : global(g), saved(g) {}
    ~IntGuard() { global = saved; }
    int &global;
    int saved;
};

// The process current directory (UTF-8).
std::string CurrentDirectory();

// Creates a file of one byte (or fails the calling test through the result).
bool MakeFile(const std::string &path);
// Sets all three times of a file or folder through the system directly.
bool StampItem(const std::string &path, const FILETIME &when);

struct ItemTimes {
    FILETIME created, accessed, written;
    DWORD attributes;
};
// Reads the times and attributes of an item; false when it cannot be read.
bool ReadItem(const std::string &path, ItemTimes *out);

// The UTC file time of a local time, converted by the system directly (not
// through the engine), with the bias in force now.
FILETIME UtcOfLocal(int year, int month, int day, int hour, int minute, int second);
// Writes the six target fields, as the date-time lists leave them.
void SetTargetTime(int year, int month, int day, int hour, int minute, int second);

inline bool SameTime(const FILETIME &a, const FILETIME &b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// A test program can run one of its own tests' helpers as a child process:
// "<program> --child <name> <journal folder> <lock name> <args...>" runs the
// child registered under name, with the parent's journal folder and change
// lock, instead of the tests.
using ChildMain = int (*)(const std::vector<std::string> &args);
struct ChildMode {
    ChildMode(const char *name, ChildMain main);
};
// The exit code of the child argv asks for; -1 when it asks for none.
int RunChildMode(int argc, char **argv);
// Starts this program as the child name with args (UTF-8); the process
// handle, or null. The caller closes it.
HANDLE StartChild(const std::string &name, const std::vector<std::string> &args);
// Waits for a child and gives its exit code; -1 when it is still running.
long WaitForChild(HANDLE process, DWORD timeoutMs);
