#pragma once
// Helpers of the tests that create the real main window in the test process.

#include <windows.h>

#include <functional>
#include <string>

// Dispatches this thread's messages until done() holds or the time is up;
// returns done(). A WM_QUIT met on the way is kept for TakeQuitMessage.
bool PumpUntil(const std::function<bool()> &done, DWORD timeoutMs = 10000);
// Dispatches every message already waiting (posted stages, paints).
void DrainMessages();
// True once a WM_QUIT has been seen since the last call; its exit code into *exitCode.
bool TakeQuitMessage(int *exitCode = nullptr);

// Creates the main window as the program does (on a screen of the given size,
// the real one by default) and pumps until its start-up stages have run.
// languageMode >= 0 replaces the detected language mode before the controls
// are created (the window title stays that of the detected mode).
HWND CreateStartedMainWindow(int languageMode = -1, int screenWidth = 0, int screenHeight = 0);
// Destroys the window, unregisters its class and forgets the quit request,
// so that the next test starts from nothing.
void DestroyMainWindow(HWND window);

// Picks entry index of a date-time list as the user does: selection, then
// CBN_SELCHANGE to the main window.
void ChooseEntry(HWND mainWindow, int listIndex, int entry);
// The selected entry of date-time list listIndex (CB_ERR when none).
int SelectedEntry(int listIndex);
int EntryCount(int listIndex);

// Paints the window now.
void Repaint(HWND window);
// True when some pixel of the client rectangle differs from the background.
bool HasInk(HWND window, const RECT &area, COLORREF background);
// The first client row of the area with a pixel other than the background; -1 when none.
int TopInkRow(HWND window, const RECT &area, COLORREF background);

// The face the system draws when a font is asked for by this name. Under
// Wine a face that is not installed comes back as a fallback (DejaVu Sans).
std::string DrawnFace(const char *face);
// Pixel tests of labels need the face the programs ask for ("Helv", which is
// MS Sans Serif): a wider fallback would move the ink they look for. Empty
// when it is there; else what is missing and where it comes from.
std::string MissingLabelFont();
