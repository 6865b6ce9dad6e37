#include "letter_change.h"

void ChangeLettersCommand(HWND)
{
    // The letter change is not built yet.
}
