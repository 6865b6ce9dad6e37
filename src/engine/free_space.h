#pragma once
// How much free space a volume must have before timestamps on it are
// changed. No window code here, so every boundary is tested directly.
#include <cstdint>

// Bytes that must be exceeded: 65,536 on a fixed disk (and on any drive that
// is neither removable nor a RAM disk); on a removable or RAM disk it grows
// with the volume's total size, from 1,024 below 16 MiB to 65,536 above 2 GiB.
std::uint64_t FreeSpaceThreshold(int fixedDisk, std::uint64_t totalBytes);

// 1 when the bytes free for the caller are strictly more than the threshold, else 0.
int EnoughFreeBytes(std::uint64_t freeForCaller, int fixedDisk, std::uint64_t totalBytes);
// The old query knows only clusters: at least two free ones are enough. 1 or 0.
int EnoughFreeClusters(std::uint64_t freeClusters);

// Whether the byte-exact query is used: always once the windows kind is known
// (not 0); with kind 0 only on a 9x platform (1) whose build number (low 16
// bits) is above 1000, the first 9x release that has it.
bool UseExtendedFreeSpaceQuery(int windowsKind, unsigned long platformId,
                               unsigned long buildNumber);
