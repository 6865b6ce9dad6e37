#pragma once
// The display scale of the main window. Every size of the layout is given
// for 96 DPI (100 %) and goes through Scale() with the window's DPI; the
// bar's bitmaps are drawn at a few fixed scales and one of them is picked.

#include <windows.h>

constexpr int kBaseDpi = 96;

// The DPI the layout is computed for; kBaseDpi until a window is created.
extern int g_dpi;

// A 96-DPI length at the given DPI, rounded to the nearest pixel.
int ScaleFor(int value, int dpi);
// A 96-DPI length at g_dpi.
inline int Scale(int value) { return ScaleFor(value, g_dpi); }

// The scale in percent of the bar's bitmaps for a DPI: 100, 150 or 200, the
// largest not above the DPI's own scale, so a button never outgrows the
// room the scaled layout leaves it, and a bitmap is never stretched.
int ArtPercentFor(int dpi);

// The DPI of a window: GetDpiForWindow where the system has it, else the
// screen's LOGPIXELSY. Null asks for the system's DPI. A DPI forced by
// ForceDpi wins over both.
int DpiOf(HWND window);

// Makes DpiOf answer dpi whatever the system says; 0 gives the system back.
// Lets the layout be checked at every scale on a machine with one.
void ForceDpi(int dpi);
