#pragma once
// Helpers for the drop-list tests: a temporary folder of their own, drop
// handles built the way the shell builds them, and message pumping.
#include <windows.h>

#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with everything in it.
// Paths are UTF-8.
class DropTestFolder {
public:
    explicit DropTestFolder(const char *tag);
    ~DropTestFolder();
    DropTestFolder(const DropTestFolder &) = delete;
    DropTestFolder &operator=(const DropTestFolder &) = delete;

    const std::string &Path() const { return path_; }
    // Creates a file (with the given content) or a folder below the folder; returns its full path.
    std::string File(const std::string &relative, const std::string &content = "x") const;
    std::string Folder(const std::string &relative) const;

private:
    std::string path_;
};

// Removes a file or a folder tree (wide paths, so any name goes).
void RemoveTree(const std::wstring &path);

// A drop handle as the shell makes it: a DROPFILES block in movable global
// memory followed by the paths (UTF-16), each ended by a zero and the list by
// another. The code-page form is what older shells hand over.
HGLOBAL MakeDropHandle(const std::vector<std::string> &paths);
HGLOBAL MakeDropHandleWide(const std::vector<std::wstring> &paths);
HGLOBAL MakeDropHandleInCodePage(const std::vector<std::string> &paths);

// Sets the three times of a test item to one local time, so that a time shown
// from it cannot be mistaken for the time of the test run.
void SetItemTime(const std::string &path, int year, int month, int day, int hour, int minute,
                 int second);

