#pragma once
// The main window: start-up, the staged creation of its children, command
// dispatch and shutdown. Shared by both programs; see program_table.h.

#include <windows.h>

#include <string>

#include "item_access.h"

// Private messages of the main window (no parameters).
constexpr UINT kMsgQuitInstance = WM_USER + 200;  // 1224: another instance runs
constexpr UINT kMsgPlaceBar = WM_USER + 201;      // 1225
constexpr UINT kMsgCreateControls = WM_USER + 202;// 1226
constexpr UINT kMsgCreateList = WM_USER + 203;    // 1227
constexpr UINT kMsgListReady = WM_USER + 204;     // 1228
constexpr UINT kMsgCreateListView = WM_USER + 210;// 1234, to the list container

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;
extern COLORREF g_btnFaceColor;
extern int g_btnFaceColorSet;
extern int g_controlsReady;
extern int g_includeSubfolders;
extern std::wstring g_readmePath;

// Window geometry read at start-up (the bar and the layout use it).
extern int g_screenWidth, g_screenHeight;
extern int g_mainX, g_mainY, g_mainWidth, g_mainHeight;
extern int g_borderWidth, g_buttonTop, g_barHeight, g_barX;

struct WindowPlace {
    int x, y, width, height;
};

// Centred on the screen; a window larger than the screen gets a negative
// position (the halved difference truncated toward zero) and still opens.
// The table's sizes are taken at dpi; nonClientHeight is what the caption
// and the frame add to the client area's height.
WindowPlace MainWindowPlace(int screenWidth, int screenHeight, int captionHeight,
                            int nonClientHeight = 0, int dpi = 96);

// Registers the main class and creates, shows and paints the main window as
// if on a screen of the given size. Returns null when either step fails.
// The staged start-up then runs from the caller's message loop.
HWND CreateMainWindow(HINSTANCE instance, int showCommand, int screenWidth, int screenHeight);

// Everything WinMain does: create the window and the bar, run the loop.
// Returns the exit code.
int RunProgram(HINSTANCE instance, int showCommand);

// The entry of g_program.commands for this WM_COMMAND wParam, or null: ids
// without an entry and notifications the entry does not answer do nothing.
using CommandHandlerPointer = void (*)(HWND, WPARAM);
CommandHandlerPointer FindCommandHandler(WPARAM wParam);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetUpTitleAndPaths(HWND window);
void CloseApplication(HWND window);
