#pragma once
// Helpers of the tests of the button bar and the About box: pointer
// placement, pixel snapshots of the main window's window DC, a recorder of
// the commands that reach the main window, and Notepad windows.

#include <windows.h>

#include <string>
#include <vector>

// Makes the window the active one, as a user's click would.
void Activate(HWND window);
// Puts the pointer on client point (x, y) of the window and lets the caption
// code look at it, as the main window does on WM_SETCURSOR.
void HoverAt(HWND mainWindow, int x, int y);

// The colours of a rectangle of the window DC (frame included), row by row.
struct PixelSnapshot {
    RECT area{};
    std::vector<COLORREF> pixels;
    bool operator==(const PixelSnapshot &other) const { return pixels == other.pixels; }
};
PixelSnapshot SnapshotWindowPixels(HWND window, const RECT &area);
// How many pixels differ between two snapshots of the same area.
int CountDifferences(const PixelSnapshot &a, const PixelSnapshot &b);

// Records every WM_COMMAND with lParam 0 that reaches the main window and
// keeps the bar commands (first..last) from running; everything else goes
// on to the window's own procedure.
class CommandRecorder {
public:
    CommandRecorder(HWND mainWindow, int firstCommand, int lastCommand);
    ~CommandRecorder();
    CommandRecorder(const CommandRecorder &) = delete;
    CommandRecorder &operator=(const CommandRecorder &) = delete;
    const std::vector<int> &Commands() const;
    void Clear();

private:
    HWND window_ = nullptr;
};

// The top-level Notepad window whose title names the file, or null.
HWND FindNotepadFor(const char *fileName);
// Waits up to timeoutMs for such a window, pumping this thread's messages.
HWND WaitForNotepadFor(const char *fileName, DWORD timeoutMs);
// Closes it and waits until it is gone.
void CloseNotepad(HWND notepad);

// The folder of the test program (where the build puts the programs and readmes).
std::string ProgramFolder();
