#include "about_box.h"

void ShowAboutBox(HWND)
{
    // The About dialog is not built yet.
}
