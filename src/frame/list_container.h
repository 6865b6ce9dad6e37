#pragma once
// The container window that holds each program's list view below the
// date-time lists. Both programs use the same class and window names; each
// brings its own window procedure.

#include <windows.h>

constexpr const wchar_t *kContainerClassName = L"KLOKAN_98_Sub";
constexpr const wchar_t *kContainerWindowName = L"Tempavo_98_Sub";

// Registers the container class with the given procedure and creates the
// container at g_program.containerTop, as wide as the main window's client
// area and filling it to the bottom. When the class cannot be registered the
// program ends silently (1224 to the main window). Returns the container or null.
HWND CreateContainerWindow(HWND mainWindow, WNDPROC procedure, DWORD extendedStyle);

// The container child of the main window, or null.
HWND FindListContainer(HWND mainWindow);

// Destroys the container and unregisters its class; nothing when it is absent.
void DestroyListContainer(HWND mainWindow);
