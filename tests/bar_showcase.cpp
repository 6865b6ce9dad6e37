// Runs a program's main window with a chosen windows kind, so that the bar
// of each skin can be looked at and photographed on the private display:
//   <name>_bar_showcase.exe <windows kind>
// The language follows the code page, as in the program.
#include <windows.h>

#include <cstdlib>

#include "gui_test_support.h"
#include "language.h"

int main(int argc, char **argv)
{
    g_windowsKind = argc > 1 ? std::atoi(argv[1]) : 0;
    g_japaneseMode = GetACP() == 932 ? 1 : 0;
    if (!CreateStartedMainWindow()) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
