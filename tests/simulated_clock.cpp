#include "simulated_clock.h"

#include "path_text.h"
#include "platform_seams.h"
#include "test_support.h"

SimulatedClock g_simulatedClock;

LONGLONG LocalCount(const SYSTEMTIME &t)
{
    FILETIME f = {};
    SystemTimeToFileTime(&t, &f);
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(f.dwHighDateTime) << 32) |
                                 f.dwLowDateTime);
}

namespace {

LONGLONG RealLocalNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalCount(now);
}

FILETIME CountToFileTime(LONGLONG count)
{
    FILETIME f;
    f.dwLowDateTime = static_cast<DWORD>(count);
    f.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(count) >> 32);
    return f;
}

void SimulatedGetClock(SYSTEMTIME *now)
{
    FILETIME local = CountToFileTime(RealLocalNow() + g_simulatedClock.offset);
    FileTimeToSystemTime(&local, now);
}

BOOL SimulatedSetClock(const SYSTEMTIME *now)
{
    FILETIME check;
    if (g_simulatedClock.setsAllowed == 0 || !SystemTimeToFileTime(now, &check)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (g_simulatedClock.setsAllowed > 0) --g_simulatedClock.setsAllowed;
    g_simulatedClock.setValues.push_back(*now);
    g_simulatedClock.offset = LocalCount(*now) - RealLocalNow();
    if (g_simulatedClock.modelSeasons) {
        const LONGLONG hour = 36000000000LL;
        const bool summerAfter = now->wMonth >= 4 && now->wMonth <= 10;
        g_simulatedClock.offset += (summerAfter ? hour : 0) - (g_simulatedClock.summer ? hour : 0);
        g_simulatedClock.summer = summerAfter;
    }
    return TRUE;
}

bool SimulatedClockRight() { return g_simulatedClock.rightHeld; }

BOOL SimulatedCreateFolder(const wchar_t *widePath)
{
    const std::string shown = U(DisplayPath(widePath));
    const char *path = shown.c_str();
    g_simulatedClock.created.push_back(shown);
    if (g_simulatedClock.failCreate) {
        if (g_simulatedClock.duringCreate) g_simulatedClock.duringCreate(path);
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!CreateDirectoryW(widePath, nullptr)) return FALSE;
    // Stamped as the file system stamps a new folder from the clock.
    FILETIME local = CountToFileTime(RealLocalNow() + g_simulatedClock.offset), utc;
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE folder = CreateFileW(widePath, FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder != INVALID_HANDLE_VALUE) {
        SetFileTime(folder, &utc, &utc, &utc);
        CloseHandle(folder);
    }
    if (g_simulatedClock.duringCreate) g_simulatedClock.duringCreate(path);
    return TRUE;
}

}  // namespace

void UseSimulatedClock()
{
    g_simulatedClock = SimulatedClock();
    g_platform.getClock = SimulatedGetClock;
    g_platform.setClock = SimulatedSetClock;
    g_platform.createFolder = SimulatedCreateFolder;
    g_platform.enableClockRight = SimulatedClockRight;
}
