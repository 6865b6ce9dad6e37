// Entry point of every test program.
#include <gtest/gtest.h>

#include "platform_seams.h"

namespace {

// Stands in for the clock setter in every test program: it refuses as the
// system does for a user without the privilege, and changes nothing.
BOOL RefuseToSetClock(const SYSTEMTIME *)
{
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
}

}  // namespace

int main(int argc, char **argv)
{
    // Before any test runs, so that no test can ever reach the real clock
    // setter of the machine, whatever it asks the engine to do.
    g_platform.setClock = RefuseToSetClock;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
