// Entry point of every test program.
#include <gtest/gtest.h>

#include <string>

#include "change_lock.h"
#include "journal.h"
#include "platform_seams.h"
#include "test_support.h"

namespace {

// Stands in for the clock setter in every test program: it refuses as the
// system does for a user without the privilege, and changes nothing.
BOOL RefuseToSetClock(const SYSTEMTIME *)
{
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
}

// The journals of the runs the tests make go to a folder of the program's
// own, removed at its end, never to the user's.
std::wstring MakeJournalFolder()
{
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    const std::wstring folder =
        std::wstring(base) + L"retempo-journals-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void RemoveJournalFolder(const std::wstring &folder)
{
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

int main(int argc, char **argv)
{
    // Before any test runs, so that no test can ever reach the real clock
    // setter of the machine, whatever it asks the engine to do.
    g_platform.setClock = RefuseToSetClock;
    const int child = RunChildMode(argc, argv);
    if (child >= 0) return child;
    g_journalFolder = MakeJournalFolder();
    // A lock of the test program's own: a program running beside the tests
    // neither waits for them nor makes them wait.
    g_changeLockName = L"Local\\Retempo.Test." + std::to_wstring(GetCurrentProcessId());
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    RemoveJournalFolder(g_journalFolder);
    return result;
}
