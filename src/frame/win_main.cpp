// Entry point of both programs; everything else lives in the libraries, where
// the tests can reach it.
#include <windows.h>

#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return RunProgram(instance, showCommand);
}
