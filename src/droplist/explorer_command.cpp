#include "explorer_command.h"

void ExecuteExplorer(HWND)
{
    // Starting Explorer is not built yet.
}
