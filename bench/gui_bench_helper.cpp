// The GUI benchmark's hands inside Wine, beside the real klokan99 in the
// same prefix (bench/gui_bench.py). Only the benchmark's own folders are
// ever given to it.
//
//   gui_bench_helper bare <folder>    loop (a) over the folder and everything below it:
//                                     one open for attribute writing, one SetFileTime
//                                     and one close per entry; prints "entries N" and
//                                     "seconds S" (the listing is not timed)
//   gui_bench_helper calls <folder>   the same entries through the calls every change of
//                                     klokan99 makes under Wine: the open, the size, the
//                                     final path, SetFileTime, the read-back, the close
//   gui_bench_helper run <question> <answer>
//                                     prints "ready", waits for the box titled question
//                                     to close (the Yes), then for a box titled answer;
//                                     prints "seconds S" between the two
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void ListBelow(const std::wstring &folder, std::vector<std::wstring> *entries)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListBelow(path, entries);
        entries->push_back(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// One entry through loop (a)'s calls.
bool BareCalls(const std::wstring &path, const FILETIME &target)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const bool set = file != INVALID_HANDLE_VALUE && SetFileTime(file, &target, &target, &target);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return set;
}

// One entry through the calls a change makes where links are followed.
bool ChangeCalls(const std::wstring &path, const FILETIME &target)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    wchar_t finalPath[MAX_PATH + 8];
    FILETIME created, accessed, written;
    const bool done = GetFileSizeEx(file, &size) &&
                      GetFinalPathNameByHandleW(file, finalPath, MAX_PATH + 8, 0) &&
                      SetFileTime(file, &target, &target, &target) &&
                      GetFileTime(file, &created, &accessed, &written);
    CloseHandle(file);
    return done;
}

int Loop(const std::wstring &folder, bool (*calls)(const std::wstring &, const FILETIME &))
{
    std::vector<std::wstring> entries;
    ListBelow(L"\\\\?\\" + folder, &entries);
    entries.push_back(L"\\\\?\\" + folder);
    SYSTEMTIME when = {2004, 5, 0, 6, 7, 8, 9, 0};
    FILETIME target;
    SystemTimeToFileTime(&when, &target);
    int failures = 0;
    const double started = Now();
    for (const std::wstring &path : entries)
        if (!calls(path, target)) ++failures;
    const double seconds = Now() - started;
    std::printf("entries %zu\nfailures %d\nseconds %.4f\n", entries.size(), failures, seconds);
    return failures == 0 ? 0 : 1;
}

HWND Box(const wchar_t *title) { return FindWindowW(L"#32770", title); }

int Run(const wchar_t *question, const wchar_t *answer)
{
    std::printf("ready\n");
    std::fflush(stdout);
    // Polled, not hooked: the helper is another process. 1 ms steps keep the
    // error far below the run's length.
    const double giveUp = Now() + 600;
    while (Box(question) && Now() < giveUp) Sleep(1);
    const double yes = Now();
    while (!Box(answer) && Now() < giveUp) Sleep(1);
    const double shown = Now();
    if (shown >= giveUp) return 1;
    std::printf("seconds %.4f\n", shown - yes);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"bare") return Loop(argv[2], BareCalls);
    if (argc == 3 && std::wstring(argv[1]) == L"calls") return Loop(argv[2], ChangeCalls);
    if (argc == 4 && std::wstring(argv[1]) == L"run") return Run(argv[2], argv[3]);
    std::fprintf(stderr, "usage: gui_bench_helper bare|calls <folder> | run <question> <answer>\n");
    return 2;
}
