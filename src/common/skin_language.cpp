#include <windows.h>

#include "language.h"

void DetectLanguage(HWND)
{
    g_japaneseMode = GetACP() == 932 ? 1 : 0;
}

void DetectWindowsKind()
{
    // Filled in with the registry rules; until then the kind stays as it is.
}
