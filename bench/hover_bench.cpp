// Prints how long the bar's hover caption takes to appear when the pointer
// comes onto a button (pointer placed on the display, then the caption code
// run as on WM_SETCURSOR) and to go again, against a bare loop of 3,900
// GetPixel and 3,900 SetPixelV calls on the main window's DC.
// Usage: hover_bench.exe [repetitions]
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bar_test_support.h"
#include "bench_support.h"
#include "gui_test_support.h"
#include "icon_bar.h"
#include "icon_bar_layout.h"
#include "language.h"

namespace {

constexpr int kPixels = 3900;

// Reads kPixels pixels of the window DC and writes each back.
double PixelLoop(HWND window)
{
    HDC dc = GetWindowDC(window);
    std::vector<COLORREF> saved(kPixels);
    Stopwatch watch;
    for (int i = 0; i < kPixels; ++i) saved[i] = GetPixel(dc, 40 + i % 200, 60 + i / 200);
    for (int i = 0; i < kPixels; ++i)
        if (saved[i] != CLR_INVALID) SetPixelV(dc, 40 + i % 200, 60 + i / 200, saved[i]);
    const double seconds = watch.Seconds();
    ReleaseDC(window, dc);
    return seconds;
}

}  // namespace

int main(int argc, char **argv)
{
    LockClockSetter();
    const int repetitions = Repetitions(argc, argv, 20);
    g_japaneseMode = 0;
    HWND window = CreateStartedMainWindow();
    if (!window || !g_hIconBar) {
        std::printf("hover_bench: the main window could not be made\n");
        return 1;
    }
    Activate(window);
    Repaint(window);
    DrainMessages();

    const IconBarLayout &bar = CurrentIconBar();
    const int y = BarButtonTop() + 10;
    std::vector<double> show, remove, place, pixels;
    int shown = 0;
    for (int r = 0; r < repetitions; ++r) {
        const int n = 2 + r % 4;
        POINT p{bar.barX + bar.buttons[n - 1].x + 16, y};
        ClientToScreen(window, &p);
        Stopwatch watch;
        SetCursorPos(p.x, p.y);
        place.push_back(watch.Seconds());
        watch.Restart();
        UpdateHoverCaption(window);
        show.push_back(watch.Seconds());
        if (g_captionState == n) ++shown;
        watch.Restart();
        RemoveHoverCaption(window);
        remove.push_back(watch.Seconds());
        DrainMessages();
        pixels.push_back(PixelLoop(window));
    }
    std::printf("4. hover caption (best of %d, side by side; caption shown %d times)\n", repetitions, shown);
    std::printf("  pointer placed (SetCursorPos)      %7.2f ms\n", 1000 * Best(place));
    std::printf("  caption drawn (UpdateHoverCaption) %7.2f ms  (goal < 2 ms)\n", 1000 * Best(show));
    std::printf("  caption removed (RemoveHoverCaption) %5.2f ms  (goal < 2 ms)\n", 1000 * Best(remove));
    std::printf("  baseline %d GetPixel + %d SetPixelV %7.2f ms\n", kPixels, kPixels, 1000 * Best(pixels));
    std::printf("  ratios: drawn/baseline %.2f, removed/baseline %.2f\n", Best(show) / Best(pixels),
                Best(remove) / Best(pixels));
    DestroyMainWindow(window);
    return 0;
}
