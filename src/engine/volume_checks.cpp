#include "volume_checks.h"

#include <map>
#include <windows.h>

#include <cwchar>

#include "free_space.h"
#include "handles.h"
#include "language.h"
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

int ClassifyDrive(const std::wstring &root)
{
    return DriveClassFromType(GetDriveTypeW(root.c_str()));
}

namespace {

using FreeSpaceExFn = BOOL(WINAPI *)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

int OldQuery(const std::wstring &root)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                           &totalClusters))
        return kFreeSpaceUnknown;
    return EnoughFreeClusters(freeClusters);
}

}  // namespace

int HasFreeSpaceWith(const std::wstring &root, int fixedDisk, bool extended,
                     const std::wstring &libraryPath)
{
    if (!extended) return OldQuery(root);
    // Bound at run time: the first 9x releases do not export it.
    LoadedLibrary library(LoadLibraryW(libraryPath.c_str()));
    FARPROC entry = library.Get() ? GetProcAddress(library.Get(), "GetDiskFreeSpaceExW") : nullptr;
    if (!entry) return OldQuery(root);
    auto query = reinterpret_cast<FreeSpaceExFn>(reinterpret_cast<void (*)()>(entry));
    ULARGE_INTEGER freeForCaller = {}, total = {}, totalFree = {};
    if (!query(root.c_str(), &freeForCaller, &total, &totalFree)) return kFreeSpaceUnknown;
    return EnoughFreeBytes(freeForCaller.QuadPart, fixedDisk, total.QuadPart);
}

int HasFreeSpace(const std::wstring &root, int fixedDisk)
{
    bool extended = true;
    if (g_windowsKind == 0) {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        extended = GetVersionExA(&version) &&
                   UseExtendedFreeSpaceQuery(0, version.dwPlatformId, version.dwBuildNumber);
    }
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    // A system folder too long to name the library leaves the name to the loader.
    const std::wstring library = length == 0 || length >= MAX_PATH
                                     ? std::wstring(L"KERNEL32.DLL")
                                     : std::wstring(system) + L"\\KERNEL32.DLL";
    return HasFreeSpaceWith(root, fixedDisk, extended, library);
}

int VolumeIsNtfs(const std::wstring &root)
{
    wchar_t name[129] = {};
    if (!g_platform.volumeFileSystem(root.c_str(), name, 129)) return 0;
    for (wchar_t &c : name)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return std::wcsstr(name, L"NTFS") ? 1 : 0;
}

namespace {
std::map<std::wstring, int> g_volumeAnswers;
}

int VolumeIsNtfsRemembered(const std::wstring &root)
{
    const auto known = g_volumeAnswers.find(root);
    if (known != g_volumeAnswers.end()) return known->second;
    return g_volumeAnswers[root] = VolumeIsNtfs(root);
}

void ForgetVolumeAnswers()
{
    g_volumeAnswers.clear();
}

void DetectNtfs(const std::wstring &root)
{
    g_ntfsVolume = g_volumeAnswers[root] = VolumeIsNtfs(root);
}
