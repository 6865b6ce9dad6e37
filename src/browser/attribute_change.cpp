#include "attribute_change.h"

void ChangeAttributesCommand(HWND)
{
    // The attribute change is not built yet.
}
