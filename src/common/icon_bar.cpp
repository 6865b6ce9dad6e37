#include "icon_bar.h"

HWND g_hIconBar = nullptr;
int g_captionState = 0;

void CreateIconBar(HWND)
{
    // The bar arrives with its buttons; until then the program runs without one.
}

void UpdateHoverCaption(HWND)
{
}

void RemoveHoverCaption(HWND)
{
}

void UpdateDropButtons(int)
{
}
