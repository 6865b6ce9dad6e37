#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "free_space.h"
#include "language.h"
#include "test_support.h"
#include "volume_checks.h"

namespace {

constexpr std::uint64_t kMiB = 1024ull * 1024;
constexpr std::uint64_t kGiB = 1024 * kMiB;

// A drive letter that the prefix does not map, as "X:\".
std::string MissingRoot()
{
    DWORD drives = GetLogicalDrives();
    for (char letter = 'Y'; letter > 'D'; --letter)
        if (!(drives & (1u << (letter - 'A')))) return std::string(1, letter) + ":\\";
    return "";
}

TEST(DriveClass, FollowsTheDriveListOrder)
{
    EXPECT_EQ(ClassifyDrive(L"C:\\"), kDriveFixed);
    EXPECT_EQ(ClassifyDrive(L"K:\\"), kDriveRemovable);  // floppy
    EXPECT_EQ(ClassifyDrive(L"L:\\"), kDriveCdRom);
    EXPECT_EQ(ClassifyDrive(L"N:\\"), kDriveNetwork);  // the system says 4
    EXPECT_EQ(ClassifyDrive(L"P:\\"), kDriveFixed);
    std::string missing = MissingRoot();
    ASSERT_FALSE(missing.empty());
    EXPECT_EQ(ClassifyDrive(W(missing)), kDriveNoRoot);
}

TEST(DriveClass, SwapsRamDiskAndNetworkCodes)
{
    EXPECT_EQ(DriveClassFromType(DRIVE_RAMDISK), kDriveRamDisk);
    EXPECT_EQ(DriveClassFromType(DRIVE_REMOTE), kDriveNetwork);
    EXPECT_EQ(DriveClassFromType(DRIVE_UNKNOWN), kDriveUnknown);
    EXPECT_EQ(DriveClassFromType(7), kDriveUnknown);
    EXPECT_EQ(DriveClassFromType(0xFFFFFFFFu), kDriveUnknown);
}

TEST(FreeSpace, ThresholdOfEachVolumeSize)
{
    struct Case {
        std::uint64_t total;
        std::uint64_t threshold;
    };
    const Case removable[] = {
        {0, 1024},
        {16 * kMiB - 1, 1024},  {16 * kMiB, 2048},
        {128 * kMiB - 1, 2048}, {128 * kMiB, 4096},
        {256 * kMiB - 1, 4096}, {256 * kMiB, 8192},
        {512 * kMiB - 1, 8192}, {512 * kMiB, 16384},
        {kGiB - 1, 16384},      {kGiB, 32768},
        {2 * kGiB, 32768},      {2 * kGiB + 1, 65536},
        {~0ull, 65536},
    };
    for (const Case &c : removable) {
        EXPECT_EQ(FreeSpaceThreshold(0, c.total), c.threshold) << c.total;
        EXPECT_EQ(FreeSpaceThreshold(1, c.total), 65536u) << c.total;
    }
}

TEST(FreeSpace, EnoughMeansStrictlyMoreThanTheThreshold)
{
    EXPECT_EQ(EnoughFreeBytes(65536, 1, 100 * kGiB), 0);
    EXPECT_EQ(EnoughFreeBytes(65537, 1, 100 * kGiB), 1);
    EXPECT_EQ(EnoughFreeBytes(65537, 1, 1 * kMiB), 1);  // a fixed disk ignores its size
    EXPECT_EQ(EnoughFreeBytes(2048, 0, 16 * kMiB), 0);
    EXPECT_EQ(EnoughFreeBytes(2049, 0, 16 * kMiB), 1);
    EXPECT_EQ(EnoughFreeBytes(32768, 0, 2 * kGiB), 0);
    EXPECT_EQ(EnoughFreeBytes(32769, 0, 2 * kGiB), 1);
    EXPECT_EQ(EnoughFreeClusters(0), 0);
    EXPECT_EQ(EnoughFreeClusters(1), 0);
    EXPECT_EQ(EnoughFreeClusters(2), 1);
}

TEST(FreeSpace, QueryChoiceByWindowsKindAndBuild)
{
    EXPECT_TRUE(UseExtendedFreeSpaceQuery(6, 2, 7601));
    EXPECT_TRUE(UseExtendedFreeSpaceQuery(1, 1, 1998));
    EXPECT_FALSE(UseExtendedFreeSpaceQuery(0, 1, 950));
    EXPECT_TRUE(UseExtendedFreeSpaceQuery(0, 1, 1001));
    EXPECT_FALSE(UseExtendedFreeSpaceQuery(0, 1, 1000));
    // The high word of a 9x build number holds the version, not the build.
    EXPECT_FALSE(UseExtendedFreeSpaceQuery(0, 1, 0x040003B6));
    EXPECT_TRUE(UseExtendedFreeSpaceQuery(0, 1, 0x040A07CE));
    // Kind 0 on an NT platform keeps the old query.
    EXPECT_FALSE(UseExtendedFreeSpaceQuery(0, 2, 7601));
}

TEST(FreeSpace, RealVolumesAndFailedQueries)
{
    IntGuard kind(g_windowsKind);
    std::string missing = MissingRoot();
    ASSERT_FALSE(missing.empty());
    for (int k : {0, 6}) {  // the old query and the extended one
        g_windowsKind = k;
        EXPECT_EQ(HasFreeSpace(L"C:\\", 1), kFreeSpaceEnough) << k;
        EXPECT_EQ(HasFreeSpace(W(missing), 1), kFreeSpaceUnknown) << k;
        EXPECT_EQ(HasFreeSpace(W(missing), 0), kFreeSpaceUnknown) << k;
    }
}

TEST(FreeSpace, UnboundExtendedQueryFallsBackToTheOldOne)
{
    char system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryA(system, MAX_PATH), 0u);
    const std::string kernel = std::string(system) + "\\KERNEL32.DLL";
    const std::string noEntry = std::string(system) + "\\USER32.DLL";  // loads, lacks the query
    const std::string noLibrary = std::string(system) + "\\NO-SUCH-LIBRARY.DLL";
    std::string missing = MissingRoot();
    ASSERT_FALSE(missing.empty());

    EXPECT_EQ(HasFreeSpaceWith(L"C:\\", 1, true, W(kernel)), kFreeSpaceEnough);
    for (const std::string &library : {noEntry, noLibrary}) {
        EXPECT_EQ(HasFreeSpaceWith(L"C:\\", 1, true, W(library)), kFreeSpaceEnough) << library;
        EXPECT_EQ(HasFreeSpaceWith(W(missing), 1, true, W(library)), kFreeSpaceUnknown) << library;
    }
}

TEST(Ntfs, RealDrivesOfThePrefix)
{
    IntGuard ntfs(g_ntfsVolume);
    g_ntfsVolume = 0;
    DetectNtfs(L"C:\\");
    EXPECT_EQ(g_ntfsVolume, 1);
    DetectNtfs(L"L:\\");  // CD-ROM
    EXPECT_EQ(g_ntfsVolume, 0);
    DetectNtfs(L"C:\\");
    DetectNtfs(W(MissingRoot()));
    EXPECT_EQ(g_ntfsVolume, 0);
}

const wchar_t *g_fakeFileSystem = nullptr;

bool FakeVolumeFileSystem(const wchar_t *, wchar_t *name, DWORD size)
{
    if (!g_fakeFileSystem) return false;
    lstrcpynW(name, g_fakeFileSystem, static_cast<int>(size));
    return true;
}

TEST(Ntfs, FileSystemNameInAnyCase)
{
    SeamGuard seams;
    IntGuard ntfs(g_ntfsVolume);
    g_platform.volumeFileSystem = FakeVolumeFileSystem;
    struct Case {
        const wchar_t *name;
        int ntfs;
    };
    const Case cases[] = {{L"NTFS", 1}, {L"ntfs", 1}, {L"FAT", 0}, {L"FAT32", 0},
                          {L"CDFS", 0}, {L"", 0},     {nullptr, 0}};
    for (const Case &c : cases) {
        g_fakeFileSystem = c.name;
        g_ntfsVolume = 1 - c.ntfs;
        DetectNtfs(L"C:\\");
        EXPECT_EQ(g_ntfsVolume, c.ntfs) << (c.name ? U(c.name) : "(query fails)");
    }
}

}  // namespace
