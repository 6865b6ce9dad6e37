#include "volume_checks.h"

#include <windows.h>

#include <cctype>
#include <cstring>

#include "free_space.h"
#include "handles.h"
#include "language.h"
#include "path_limits.h"
#include "platform_seams.h"

int g_ntfsVolume = 0;

int DriveClassFromType(unsigned driveType)
{
    static const int kClassOfType[] = {
        kDriveUnknown,    // DRIVE_UNKNOWN
        kDriveNoRoot,     // DRIVE_NO_ROOT_DIR
        kDriveRemovable,  // DRIVE_REMOVABLE
        kDriveFixed,      // DRIVE_FIXED
        kDriveNetwork,    // DRIVE_REMOTE
        kDriveCdRom,      // DRIVE_CDROM
        kDriveRamDisk,    // DRIVE_RAMDISK
    };
    if (driveType >= sizeof kClassOfType / sizeof kClassOfType[0]) return kDriveUnknown;
    return kClassOfType[driveType];
}

int ClassifyDrive(const char *root)
{
    return DriveClassFromType(GetDriveTypeA(root));
}

namespace {

using FreeSpaceExFn = BOOL(WINAPI *)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

int OldQuery(const char *root)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return kFreeSpaceUnknown;
    return EnoughFreeClusters(freeClusters);
}

}  // namespace

int HasFreeSpaceWith(const char *root, int fixedDisk, bool extended, const char *libraryPath)
{
    if (!extended) return OldQuery(root);
    // Bound at run time: the first 9x releases do not export it.
    LoadedLibrary library(LoadLibraryA(libraryPath));
    FARPROC entry = library.Get() ? GetProcAddress(library.Get(), "GetDiskFreeSpaceExA") : nullptr;
    if (!entry) return OldQuery(root);
    auto query = reinterpret_cast<FreeSpaceExFn>(reinterpret_cast<void (*)()>(entry));
    ULARGE_INTEGER freeForCaller = {}, total = {}, totalFree = {};
    if (!query(root, &freeForCaller, &total, &totalFree)) return kFreeSpaceUnknown;
    return EnoughFreeBytes(freeForCaller.QuadPart, fixedDisk, total.QuadPart);
}

int HasFreeSpace(const char *root, int fixedDisk)
{
    bool extended = true;
    if (g_windowsKind == 0) {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        extended = GetVersionExA(&version) &&
                   UseExtendedFreeSpaceQuery(0, version.dwPlatformId, version.dwBuildNumber);
    }
    char libraryPath[kPathBufferSize] = {};
    static const char kKernel[] = "\\KERNEL32.DLL";
    UINT length = GetSystemDirectoryA(libraryPath, kMaxPathChars + 1);
    if (length == 0 || length + sizeof kKernel > sizeof libraryPath) {
        // A system folder too long to name the library: leave the name to the loader.
        std::memset(libraryPath, 0, sizeof libraryPath);
        std::strcpy(libraryPath, "KERNEL32.DLL");
    } else {
        std::strcat(libraryPath, kKernel);
    }
    return HasFreeSpaceWith(root, fixedDisk, extended, libraryPath);
}

int VolumeIsNtfs(const char *root)
{
    char name[129] = {};
    if (!g_platform.volumeFileSystem(root, name, sizeof name)) return 0;
    for (char &c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return std::strstr(name, "NTFS") ? 1 : 0;
}

void DetectNtfs(const char *root)
{
    g_ntfsVolume = VolumeIsNtfs(root);
}
