#pragma once
// A stand-in main window for the browser's GUI tests, holding the folder
// list's container and (when asked) the drive selector, and small readers of
// what the controls show.
#include <windows.h>

#include <string>
#include <vector>

// Creates the parent window and the container with its list view; the
// destructor destroys them, unregisters the container class and moves the
// process out of the folders the test made.
class BrowserWindows {
public:
    explicit BrowserWindows(bool withDriveSelector);
    ~BrowserWindows();
    BrowserWindows(const BrowserWindows &) = delete;
    BrowserWindows &operator=(const BrowserWindows &) = delete;

    HWND Main() const { return main_; }
    bool Ready() const;

private:
    HWND main_ = nullptr;
};

// Runs the messages waiting on this thread.
void PumpMessages();

// Lists a folder the way the programs do: it becomes the current folder.
void ShowFolder(const std::string &folder);

int RowCount();
std::string RowText(int row, int column);
std::vector<std::string> RowNames();
// Selects exactly the given rows.
void SelectRows(const std::vector<int> &rows);
// The row showing the name, or -1.
int FindRow(const std::string &name);

// Writes a file of the given number of bytes.
bool MakeFileOfSize(const std::string &path, DWORD size);
