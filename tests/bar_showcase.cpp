// Runs a program as its entry point does, with the windows kind given on
// the command line, so that the bar of each skin can be looked at and
// photographed on the private display:   <name>_bar_showcase.exe <kind>
// The language follows the code page, as in the program.
#include <windows.h>

#include <cstdlib>

#include "icon_bar.h"
#include "language.h"
#include "main_window.h"

int main(int argc, char **argv)
{
    HWND window = CreateMainWindow(GetModuleHandleA(nullptr), SW_SHOWNORMAL,
                                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (!window) return 1;
    // The bar takes its skin when it is created, after the main window's detection.
    if (argc > 1) g_windowsKind = std::atoi(argv[1]);
    CreateIconBar(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
