#include "change_lock.h"

#include <windows.h>

// In the namespace of the whole machine where the system has one, so that a
// change in another session waits too.
std::wstring g_changeLockName = L"Global\\Retempo.Change";

namespace {

struct Lock {
    HANDLE mutex = nullptr;
    int depth = 0;
} g_lock;

// Systems without namespaces take no backslash in a name.
HANDLE OpenLockMutex()
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, g_changeLockName.c_str());
    if (mutex) return mutex;
    const std::size_t slash = g_changeLockName.find(L'\\');
    if (slash == std::wstring::npos) return nullptr;
    return CreateMutexW(nullptr, FALSE, g_changeLockName.substr(slash + 1).c_str());
}

}  // namespace

LockTake TakeChangeLock()
{
    if (g_lock.depth > 0) {
        ++g_lock.depth;
        return LockTake::Taken;
    }
    HANDLE mutex = OpenLockMutex();
    if (!mutex) return LockTake::Busy;
    switch (WaitForSingleObject(mutex, 0)) {
    case WAIT_OBJECT_0:
        g_lock = {mutex, 1};
        return LockTake::Taken;
    case WAIT_ABANDONED:
        g_lock = {mutex, 1};
        return LockTake::Abandoned;
    default:
        CloseHandle(mutex);
        return LockTake::Busy;
    }
}

void ReleaseChangeLock()
{
    if (g_lock.depth == 0 || --g_lock.depth > 0) return;
    ReleaseMutex(g_lock.mutex);
    CloseHandle(g_lock.mutex);
    g_lock.mutex = nullptr;
}

bool ChangeLockHeld()
{
    return g_lock.depth > 0;
}
