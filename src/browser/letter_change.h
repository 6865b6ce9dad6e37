#pragma once
#include <windows.h>

// Command Letters: the letter case of the selected items' names.
void ChangeLettersCommand(HWND mainWindow);
