// Started by ctest under a chosen locale: language_probe <mode> <code page>.
// Succeeds (exit code 0) when this process runs under the expected code page
// and DetectLanguage picks the expected language mode; 2 when the code page
// is not the one the locale should give (the check would prove nothing),
// 1 when the mode is wrong.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "language.h"
#include "skin_language.h"

int main(int argc, char **argv)
{
    if (argc != 3) return 3;
    const int expectedMode = std::atoi(argv[1]);
    const unsigned expectedCodePage = static_cast<unsigned>(std::atoi(argv[2]));
    if (GetACP() != expectedCodePage) {
        std::printf("code page %u, expected %u\n", GetACP(), expectedCodePage);
        return 2;
    }
    DetectLanguage(nullptr);
    std::printf("code page %u: language mode %d, expected %d\n", GetACP(), g_japaneseMode,
                expectedMode);
    return g_japaneseMode == expectedMode ? 0 : 1;
}
