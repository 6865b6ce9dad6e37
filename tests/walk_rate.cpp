// Measures (no pass or fail) how many entries per second a walk changes
// through each writer on a generated tree of about 2000 entries. The rebuild
// runs under the simulated clock. Run by hand: wine walk_rate.exe
#include <windows.h>

#include <cstdio>
#include <string>

#include "language.h"
#include "platform_seams.h"
#include "simulated_clock.h"
#include "subtree_walk.h"
#include "target_time.h"
#include "temp_tree.h"
#include "test_support.h"
#include "timestamp_items.h"
#include "change_run.h"
#include "timestamp_writer.h"
#include "volume_checks.h"



namespace {

// 40 folders with 2 files and 5 subfolders of 8 files each: 1920 entries.
int MakeTree(const std::string &root)
{
    int entries = 0;
    for (int a = 0; a < 40; ++a) {
        std::string top = root + "\\f" + std::to_string(a);
        MakeFolder(top);
        ++entries;
        for (int f = 0; f < 2; ++f, ++entries) MakeFileWith(top + "\\t" + std::to_string(f) + ".txt", "top");
        for (int b = 0; b < 5; ++b) {
            std::string sub = top + "\\s" + std::to_string(b);
            MakeFolder(sub);
            ++entries;
            for (int f = 0; f < 8; ++f, ++entries)
                MakeFileWith(sub + "\\p" + std::to_string(f) + ".jpg", std::string(512, 'p'));
        }
    }
    return entries;
}

double Seconds(const LARGE_INTEGER &from, const LARGE_INTEGER &to, const LARGE_INTEGER &frequency)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main()
{
    g_platform.setClock = [](const SYSTEMTIME *) -> BOOL { return FALSE; };
    UseSimulatedClock();
    SetTargetTime(2010, 5, 6, 12, 34, 30);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int ntfs = 1; ntfs >= 0; --ntfs) {
        TempFolder root;
        const int entries = MakeTree(root.Path());
        g_ntfsVolume = ntfs;
        g_windowsKind = 6;
        g_runStatus = 1;
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        ChangeSubtreeTimestamps(W(root.Path()));
        QueryPerformanceCounter(&end);
        const double seconds = Seconds(start, end, frequency);
        std::printf("%s: %d entries in %.2f s, %.0f entries/s, run status %d, folders rebuilt %u\n",
                    ntfs ? "handle writer" : "rebuild writer", entries, seconds, entries / seconds,
                    g_runStatus, static_cast<unsigned>(g_simulatedClock.created.size()));
    }
    return 0;
}
