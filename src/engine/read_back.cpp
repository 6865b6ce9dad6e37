#include "read_back.h"

#include "local_time.h"

namespace {

constexpr long long kTicksPerSecond = 10000000;

long long Ticks(const FILETIME &t)
{
    return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                  t.dwLowDateTime);
}

// stored lies in [target - before, target + after).
bool Within(const FILETIME &stored, const FILETIME &target, long long before, long long after)
{
    const long long difference = Ticks(stored) - Ticks(target);
    return difference >= -before && difference < after;
}

bool SameLocalDate(const FILETIME &a, const FILETIME &b)
{
    // A volume that keeps only the date keeps it in local time, converted by today's bias.
    SYSTEMTIME x, y;
    if (!FileTimeToLocalTime(a, &x, TimeRule::CurrentBias) ||
        !FileTimeToLocalTime(b, &y, TimeRule::CurrentBias))
        return false;
    return x.wYear == y.wYear && x.wMonth == y.wMonth && x.wDay == y.wDay;
}

}  // namespace

bool StoredTimesMatch(const StoredTimes &stored, const FILETIME &target, bool volumeKeepsUtc,
                      bool createdOneSecondEarly)
{
    const long long second = kTicksPerSecond;
    const long long early = createdOneSecondEarly ? second : 0;
    const long long writeStep = volumeKeepsUtc ? second : 2 * second;
    const bool created = Within(stored.created, target, early, second);
    // The rebuild's write time is its creation moment too.
    const bool written = Within(stored.written, target, early + (writeStep - second), writeStep);
    return created && written && SameLocalDate(stored.accessed, target);
}

bool CreationTimeMatches(const FILETIME &stored, const FILETIME &target)
{
    return Within(stored, target, kTicksPerSecond, kTicksPerSecond);
}
