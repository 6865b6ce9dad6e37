#include "display_scale.h"

int g_dpi = kBaseDpi;

namespace {

int g_forcedDpi = 0;

using GetDpiForWindowFunction = UINT(WINAPI *)(HWND);

// Only from Windows 10 1607 on; looked up once, at run time.
GetDpiForWindowFunction WindowDpiFunction()
{
    static const GetDpiForWindowFunction function = [] {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        return user ? reinterpret_cast<GetDpiForWindowFunction>(
                          reinterpret_cast<void *>(GetProcAddress(user, "GetDpiForWindow")))
                    : nullptr;
    }();
    return function;
}

}  // namespace

int ScaleFor(int value, int dpi)
{
    // Halves round away from zero, as MulDiv does.
    const long long product = static_cast<long long>(value) * dpi;
    return static_cast<int>((product >= 0 ? product + kBaseDpi / 2 : product - kBaseDpi / 2) / kBaseDpi);
}

int ArtPercentFor(int dpi)
{
    if (dpi >= 2 * kBaseDpi) return 200;
    if (dpi * 2 >= 3 * kBaseDpi) return 150;
    return 100;
}

int DpiOf(HWND window)
{
    if (g_forcedDpi > 0) return g_forcedDpi;
    if (window) {
        if (GetDpiForWindowFunction function = WindowDpiFunction()) {
            const UINT dpi = function(window);
            if (dpi >= kBaseDpi) return static_cast<int>(dpi);
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    // Never below 100 %: no smaller layout or art exists.
    return dpi > kBaseDpi ? dpi : kBaseDpi;
}

void ForceDpi(int dpi)
{
    g_forcedDpi = dpi > 0 ? dpi : 0;
}
