#pragma once
// Helpers of the tests that create a main window in the test process.

#include <windows.h>

#include <functional>

// Dispatches this thread's messages until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()> &done, DWORD timeoutMs = 10000);
// Dispatches every message already waiting.
void DrainMessages();

// A main window of the program's size with its bar in place, shown and painted.
HWND CreateStartedMainWindow(int screenWidth = 0, int screenHeight = 0);
void DestroyMainWindow(HWND window);

// Paints the window now.
void Repaint(HWND window);
