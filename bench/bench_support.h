#pragma once
// Helpers of the benchmark programs: a stopwatch, generated trees inside a
// private temporary folder, and the peak working set of the process.
// Benchmarks print figures; they pass or fail nothing.
#include <windows.h>

#include <string>
#include <vector>

// Makes the clock seam refuse, as the system does without the privilege;
// called first in every benchmark so that nothing can reach the real setter.
void LockClockSetter();

// Seconds since the stopwatch started (the performance counter).
class Stopwatch {
public:
    Stopwatch() { Restart(); }
    void Restart() { QueryPerformanceCounter(&start_); }
    double Seconds() const;

private:
    LARGE_INTEGER start_{};
};
// The current performance-counter reading in seconds.
double NowSeconds();

// Makes folderCount folders below root (as top folders of up to 25
// subfolders each) with filesPerFolder small files in every one of them.
// Returns every entry made, contents before their folder, as full paths.
std::vector<std::string> MakeBenchTree(const std::string &root, int folderCount, int filesPerFolder);
// The same tree, giving only how many entries it made.
std::size_t MakeBenchTreeUnlisted(const std::string &root, int folderCount, int filesPerFolder);

// Makes count files of a few kinds directly in folder; returns their paths.
std::vector<std::string> MakeFlatFolder(const std::string &folder, int count);

// Peak working set of this process in MiB.
double PeakWorkingSetMiB();

// Best (smallest) of the values.
double Best(const std::vector<double> &values);
// Number of repetitions from the first argument, else the default.
int Repetitions(int argc, char **argv, int fallback);
