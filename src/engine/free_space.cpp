#include "free_space.h"

std::uint64_t FreeSpaceThreshold(int fixedDisk, std::uint64_t totalBytes)
{
    constexpr std::uint64_t kMiB = 1024ull * 1024;
    constexpr std::uint64_t kGiB = 1024 * kMiB;
    if (fixedDisk) return 65536;

    struct Step {
        std::uint64_t below;
        std::uint64_t threshold;
    };
    static const Step kSteps[] = {
        {16 * kMiB, 1024},  {128 * kMiB, 2048}, {256 * kMiB, 4096},
        {512 * kMiB, 8192}, {kGiB, 16384},      {2 * kGiB + 1, 32768},  // 2 GiB itself included
    };
    for (const Step &step : kSteps)
        if (totalBytes < step.below) return step.threshold;
    return 65536;
}

int EnoughFreeBytes(std::uint64_t freeForCaller, int fixedDisk, std::uint64_t totalBytes)
{
    return freeForCaller > FreeSpaceThreshold(fixedDisk, totalBytes) ? 1 : 0;
}

int EnoughFreeClusters(std::uint64_t freeClusters) { return freeClusters >= 2 ? 1 : 0; }

bool UseExtendedFreeSpaceQuery(int windowsKind, unsigned long platformId,
                               unsigned long buildNumber)
{
    if (windowsKind != 0) return true;
    return platformId == 1 && (buildNumber & 0xFFFF) > 1000;
}
