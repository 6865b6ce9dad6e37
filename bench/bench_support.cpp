#include "bench_support.h"

#include <psapi.h>

#include <algorithm>
#include <cstdlib>

#include "platform_seams.h"

namespace {

double Frequency()
{
    static double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return frequency;
}

bool WriteSmallFile(const std::string &path, DWORD size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes(size, 'b');
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

BOOL RefuseToSetClock(const SYSTEMTIME *)
{
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
}

}  // namespace

void LockClockSetter() { g_platform.setClock = RefuseToSetClock; }

double Stopwatch::Seconds() const
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / Frequency();
}

double NowSeconds()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / Frequency();
}

namespace {

// Makes the tree and hands every entry made to made(), contents before their folder.
template <typename Made>
void MakeTree(const std::string &root, int folderCount, int filesPerFolder, Made made)
{
    static const char *const kinds[] = {".txt", ".jpg", ".doc", ".dat"};
    auto fill = [&](const std::string &folder) {
        for (int f = 0; f < filesPerFolder; ++f) {
            const std::string file = folder + "\\file" + std::to_string(f) + kinds[f % 4];
            if (WriteSmallFile(file, 64 + f)) made(file);
        }
    };
    int count = 0;
    for (int top = 0; count < folderCount; ++top) {
        const std::string topFolder = root + "\\top" + std::to_string(top);
        CreateDirectoryA(topFolder.c_str(), nullptr);
        ++count;
        for (int sub = 0; sub < 24 && count < folderCount; ++sub, ++count) {
            const std::string subFolder = topFolder + "\\sub" + std::to_string(sub);
            CreateDirectoryA(subFolder.c_str(), nullptr);
            fill(subFolder);
            made(subFolder);
        }
        fill(topFolder);
        made(topFolder);
    }
}

}  // namespace

std::vector<std::string> MakeBenchTree(const std::string &root, int folderCount, int filesPerFolder)
{
    std::vector<std::string> entries;
    MakeTree(root, folderCount, filesPerFolder, [&](const std::string &entry) { entries.push_back(entry); });
    return entries;
}

std::size_t MakeBenchTreeUnlisted(const std::string &root, int folderCount, int filesPerFolder)
{
    std::size_t count = 0;
    MakeTree(root, folderCount, filesPerFolder, [&](const std::string &) { ++count; });
    return count;
}

std::vector<std::string> MakeFlatFolder(const std::string &folder, int count)
{
    static const char *const kinds[] = {".txt", ".jpg", ".doc", ".dat"};
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const std::string path = folder + "\\row" + std::to_string(i) + kinds[i % 4];
        if (WriteSmallFile(path, 100 + i)) paths.push_back(path);
    }
    return paths;
}

double PeakWorkingSetMiB()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1.0;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

double Best(const std::vector<double> &values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

int Repetitions(int argc, char **argv, int fallback)
{
    if (argc > 1) {
        const int n = std::atoi(argv[1]);
        if (n > 0) return n;
    }
    return fallback;
}
