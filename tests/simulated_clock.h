#pragma once
// A system clock for tests that never touches the machine's clock: "setting"
// it records an offset from the real time, and a folder created through the
// create seam while the offset stands is stamped with the simulated time,
// as the file system would stamp it under a changed clock.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SimulatedClock {
    LONGLONG offset = 0;                 // 100 ns units added to the real local time
    std::vector<SYSTEMTIME> setValues;   // every value the engine set, in order
    std::vector<std::string> created;    // every folder created through the seam (UTF-8, normal form)
    // Runs inside the create, after the folder exists (or instead of it, when
    // failCreate is set), with the folder's path (UTF-8, normal form); for
    // spying on the moment and for delays.
    std::function<void(const char *path)> duringCreate;
    bool failCreate = false;
    // Whether the right to set the clock is held.
    bool rightHeld = true;
    // How many settings succeed before every later one is refused (-1: all).
    int setsAllowed = -1;
    // When set, "setting" behaves as the system's local clock does across a
    // change of season: the value is read under the daylight-saving state in
    // force before the call (summer: April to October, one hour ahead), and
    // the call then takes on the state of the value. summer is that state.
    bool modelSeasons = false;
    bool summer = false;
};
extern SimulatedClock g_simulatedClock;

// Installs the simulated clock and folder creation into g_platform and
// clears g_simulatedClock. Pair with a SeamGuard.
void UseSimulatedClock();

// 100 ns counts of a local SYSTEMTIME (no time-zone conversion).
LONGLONG LocalCount(const SYSTEMTIME &t);
