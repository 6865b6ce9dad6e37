#pragma once
// One change at a time on the machine. Both programs, and every copy of
// them, change files and set the system clock only while this process holds
// one named mutex: a second change, an Undo or a recovery elsewhere waits its
// turn instead of working on the same files or saving a clock another
// process has set. The lock nests within the process; no window code here.
#include <string>

// The mutex's name; a test points it at a name of its own.
extern std::wstring g_changeLockName;

enum class LockTake {
    Taken,      // held now
    Abandoned,  // held now; the process that held it before ended without letting go
    Busy        // another process holds it: nothing may change
};

// Takes the lock without waiting (again, when this process holds it already).
LockTake TakeChangeLock();
// Lets go of one take; the lock is free for others after the last.
void ReleaseChangeLock();
// Whether this process holds the lock.
bool ChangeLockHeld();

// Holds the lock while in scope, when it could be had.
struct ChangeLockHold {
    ChangeLockHold() : take(TakeChangeLock()) {}
    ~ChangeLockHold()
    {
        if (Held()) ReleaseChangeLock();
    }
    ChangeLockHold(const ChangeLockHold &) = delete;
    ChangeLockHold &operator=(const ChangeLockHold &) = delete;
    bool Held() const { return take != LockTake::Busy; }
    LockTake take;
};
