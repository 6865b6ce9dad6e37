#include "platform_seams.h"

#include <cstring>
#include <cwchar>

#include "handles.h"
#include "item_access.h"
#include "link_probe.h"

bool EnableClockPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = LookupPrivilegeValueA(nullptr, "SeSystemtimePrivilege",
                                    &privileges.Privileges[0].Luid) &&
              AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
              GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return ok;
}

namespace {

bool RealVolumeFileSystem(const wchar_t *root, wchar_t *nameOut, DWORD size)
{
    std::wmemset(nameOut, 0, size);
    if (size < 2) return false;
    DWORD maxComponent = 256;
    DWORD flags = 256;
    // One character is kept back so the name is terminated whatever the call writes.
    if (!GetVolumeInformationW(root, nullptr, 0, nullptr, &maxComponent, &flags, nameOut,
                               size - 1)) {
        std::wmemset(nameOut, 0, size);
        return false;
    }
    return true;
}

MachineTextResult RealReadMachineText(const char *keyPath, const char *valueName, char *out,
                                      DWORD size)
{
    std::memset(out, 0, size);
    RegistryKey key;
    // Querying only: an ordinary user on NT may not open these keys for writing,
    // and a refused open would be taken for a system without that key.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return kMachineKeyNotOpened;
    if (size < 2) return kMachineValueUnreadable;
    // A stored text need not carry its terminator; the last byte stays zero.
    DWORD length = size - 1;
    if (RegQueryValueExA(key.Get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE *>(out),
                         &length) != ERROR_SUCCESS) {
        std::memset(out, 0, size);
        return kMachineValueUnreadable;
    }
    return kMachineTextRead;
}

void RealGetClock(SYSTEMTIME *now) { GetLocalTime(now); }

BOOL RealSetClock(const SYSTEMTIME *now) { return SetLocalTime(now); }

BOOL RealSetItemTimes(HANDLE item, const FILETIME *created, const FILETIME *accessed,
                      const FILETIME *written)
{
    return SetFileTime(item, created, accessed, written);
}

bool RealEnableClockRight() { return EnableClockPrivilege(); }

BOOL RealCreateFolder(const wchar_t *path) { return CreateDirectoryW(path, nullptr); }


// Both are filled at compile time, before any code can run.
constexpr PlatformSeams kRealSeams = {
    RealVolumeFileSystem, RealReadMachineText, RealGetClock,     RealSetClock,
    RealEnableClockRight, RealSetItemTimes,    RealCreateFolder, LinkAnswerOf,
    LinksOpenAsThemselves};

}  // namespace

extern const PlatformSeams g_realPlatform = kRealSeams;
PlatformSeams g_platform = kRealSeams;
