#include <windows.h>

#include "skin_language.h"
#include "platform_seams.h"
#include "windows_kind.h"

void DetectLanguage(HWND)
{
    g_japaneseMode = GetACP() == 932 ? 1 : 0;
}

void DetectWindowsKind()
{
    static const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    static const char kNineXKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

    char text[260] = {};
    if (g_platform.readMachineText(kNtKey, "CurrentVersion", text, sizeof text) ==
        kMachineTextRead) {
        g_windowsKind = WindowsKindFromVersionText(text);
        return;
    }
    // No NT version text: a 9x system, if its key is there at all. A missing
    // product name still means the 9x family (an empty text gives kind 0).
    if (g_platform.readMachineText(kNineXKey, "ProductName", text, sizeof text) ==
        kMachineKeyNotOpened)
        return;
    g_windowsKind = WindowsKindFromProductName(text);
}
