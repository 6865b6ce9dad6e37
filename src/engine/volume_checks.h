#pragma once
// Checks of the volume under an item before anything on it is changed. Each
// takes a root path: drive letter, colon, backslash (L"C:\\"), or a share's.
#include <string>

// 1 when the last volume examined by DetectNtfs is NTFS, else 0 (also at start).
extern int g_ntfsVolume;

// Drive classes, in the order the drive list labels them.
enum DriveClass {
    kDriveUnknown = 0,
    kDriveNoRoot = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRamDisk = 4,
    kDriveCdRom = 5,
    kDriveNetwork = 6
};

// The class of a GetDriveTypeW result; the RAM disk (6) and network (4)
// codes are swapped against the system's numbering. Unknown codes give 0.
int DriveClassFromType(unsigned driveType);
// The class of the drive under the root path.
int ClassifyDrive(const std::wstring &root);

// Results of HasFreeSpace.
constexpr int kFreeSpaceShort = 0;
constexpr int kFreeSpaceEnough = 1;
constexpr int kFreeSpaceUnknown = 2;  // the query failed; nothing is known
// Whether enough space is free on the volume for changing timestamps:
// 1 enough, 0 not enough, 2 the query failed. fixedDisk is 1 for a fixed disk
// and for any drive that is neither removable nor a RAM disk, 0 for those two.
// klokan98 counts 2 as a failed item. klokan99 treats anything but 1 as "no
// free space": a decision never rests on numbers a failed query did not fill.
int HasFreeSpace(const std::wstring &root, int fixedDisk);
// The same with the query chosen by the caller: the byte-exact query bound
// from libraryPath when extended is true, else (or when that library or its
// "GetDiskFreeSpaceExW" cannot be bound) the old cluster query.
int HasFreeSpaceWith(const std::wstring &root, int fixedDisk, bool extended,
                     const std::wstring &libraryPath);

// 1 when the volume's file-system name holds "NTFS" (any case); a failed
// query counts as not NTFS. Leaves g_ntfsVolume alone.
int VolumeIsNtfs(const std::wstring &root);
// The same, asked once per root until ForgetVolumeAnswers (a run asks it
// for each item it writes down, and the answer costs about as much as an
// item); DetectNtfs leaves its answer here too.
int VolumeIsNtfsRemembered(const std::wstring &root);
void ForgetVolumeAnswers();
// Sets g_ntfsVolume from the volume's file-system name ("NTFS" in it, any
// case); a failed query counts as not NTFS.
void DetectNtfs(const std::wstring &root);
