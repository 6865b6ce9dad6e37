// The time the user picks is the time the shell shows: run once per time zone
// (the zone comes from TZ, which Wine follows; ctest picks the cases by name).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "language.h"
#include "local_time.h"
#include "target_time.h"
#include "test_support.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

SYSTEMTIME Local(int year, int month, int day, int hour, int minute)
{
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    return t;
}

// Minutes after midnight UTC of the day the local time falls on (negative:
// the day before), or a large value when the conversion fails.
int UtcMinutes(const SYSTEMTIME &local, TimeRule rule)
{
    FILETIME utc;
    if (!LocalTimeToFileTime(local, &utc, rule)) return 100000;
    SYSTEMTIME u;
    FileTimeToSystemTime(&utc, &u);
    int dayShift = u.wDay == local.wDay ? 0 : (u.wDay < local.wDay || u.wMonth < local.wMonth) ? -1 : 1;
    return dayShift * 1440 + u.wHour * 60 + u.wMinute;
}

// The bias in force now, in minutes to add to local time for UTC, read from
// the system on its own terms.
int CurrentBiasMinutes()
{
    TIME_ZONE_INFORMATION zone;
    DWORD state = GetTimeZoneInformation(&zone);
    int bias = static_cast<int>(zone.Bias);
    if (state == TIME_ZONE_ID_DAYLIGHT) bias += static_cast<int>(zone.DaylightBias);
    else if (state == TIME_ZONE_ID_STANDARD) bias += static_cast<int>(zone.StandardBias);
    return bias;
}

// The zone cases run only in the process started for their zone.
#define REQUIRE_ZONE(zone)                                                              \
    do {                                                                                \
        const char *tz = std::getenv("TZ");                                             \
        if (!tz || std::strcmp(tz, zone) != 0) GTEST_SKIP() << "runs under TZ=" zone;    \
    } while (0)

struct KindGuard {
    explicit KindGuard(int kind) : saved(g_windowsKind) { g_windowsKind = kind; }
    ~KindGuard() { g_windowsKind = saved; }
    int saved;
};

bool IsNtfs(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"NTFS", static_cast<int>(size));
    return true;
}
bool IsFat(const wchar_t *, wchar_t *name, DWORD size)
{
    lstrcpynW(name, L"FAT32", static_cast<int>(size));
    return true;
}

TEST(TimeRuleChoice, DateRuleOnlyForVolumesKeepingUtcOnVistaAndLater)
{
    for (int kind = 0; kind <= 7; ++kind) {
        KindGuard guard(kind);
        const bool newer = kind == 6 || kind == 7;
        EXPECT_EQ(TimeRuleFor(true) == TimeRule::RuleOfTheDate, newer) << kind;
        EXPECT_EQ(TimeRuleFor(false), TimeRule::CurrentBias) << kind;
    }
    SeamGuard seams;
    KindGuard guard(6);
    g_platform.volumeFileSystem = IsFat;
    EXPECT_EQ(TimeRuleForPath(L"C:\\photo.jpg"), TimeRule::CurrentBias);
    g_platform.volumeFileSystem = IsNtfs;
    EXPECT_EQ(TimeRuleForPath(L"C:\\photo.jpg"), TimeRule::RuleOfTheDate);
}

TEST(TimeRuleChoice, CurrentBiasIsTheBiasInForceNow)
{
    // Whatever the season of the run, the old rule applies today's bias to every date.
    const int bias = CurrentBiasMinutes();
    EXPECT_EQ(UtcMinutes(Local(2010, 7, 1, 12, 0), TimeRule::CurrentBias), 12 * 60 + bias);
    EXPECT_EQ(UtcMinutes(Local(2010, 1, 15, 12, 0), TimeRule::CurrentBias), 12 * 60 + bias);
}

TEST(TimeRuleChoice, InvalidDatesConvertUnderNeitherRule)
{
    FILETIME untouched = {1, 2};
    EXPECT_FALSE(LocalTimeToFileTime(Local(2010, 4, 31, 12, 0), &untouched, TimeRule::RuleOfTheDate));
    EXPECT_FALSE(LocalTimeToFileTime(Local(2010, 4, 31, 12, 0), &untouched, TimeRule::CurrentBias));
    EXPECT_EQ(untouched.dwLowDateTime, 1u);
}

// Europe/Berlin: UTC+1 in winter, UTC+2 in summer.
TEST(Berlin, SummerAndWinterTargetsUseTheirOwnDatesRule)
{
    REQUIRE_ZONE("Europe/Berlin");
    EXPECT_EQ(UtcMinutes(Local(2010, 7, 1, 12, 0), TimeRule::RuleOfTheDate), 10 * 60);
    EXPECT_EQ(UtcMinutes(Local(2010, 1, 15, 12, 0), TimeRule::RuleOfTheDate), 11 * 60);
}

TEST(Berlin, StoredTimesAreShownWithTheirOwnDatesRule)
{
    REQUIRE_ZONE("Europe/Berlin");
    FILETIME utc;
    ASSERT_TRUE(LocalTimeToFileTime(Local(2010, 7, 1, 12, 0), &utc, TimeRule::RuleOfTheDate));
    SYSTEMTIME shown;
    ASSERT_TRUE(FileTimeToLocalTime(utc, &shown, TimeRule::RuleOfTheDate));
    EXPECT_EQ(shown.wHour, 12);
    EXPECT_EQ(shown.wMinute, 0);
}

TEST(Berlin, SkippedAndRepeatedHoursGetTheSystemsAnswer)
{
    REQUIRE_ZONE("Europe/Berlin");
    // 28 March 2010: 02:00 local jumps to 03:00, so 02:30 does not exist; on
    // 31 October 2010 02:30 local happens twice (00:30 and 01:30 UTC). Both
    // convert, to one of the two instants next to them (whichever the system
    // picks; Wine reads both with the summer bias: 00:30 UTC).
    for (const SYSTEMTIME &t : {Local(2010, 3, 28, 2, 30), Local(2010, 10, 31, 2, 30)}) {
        const int minutes = UtcMinutes(t, TimeRule::RuleOfTheDate);
        EXPECT_TRUE(minutes == 30 || minutes == 90) << t.wMonth << ": " << minutes;
    }
}

TEST(Berlin, HandleWriterStoresTheTargetUnderTheRuleOfTheVolume)
{
    REQUIRE_ZONE("Europe/Berlin");
    TempFolder folder;
    const std::string file = folder.Child("photo.jpg");
    ASSERT_TRUE(MakeFile(file));
    SeamGuard seams;
    KindGuard kind(6);
    IntGuard ntfs(g_ntfsVolume);
    IntGuard status(g_runStatus);
    SetTargetTime(2010, 7, 1, 12, 0, 0);

    g_ntfsVolume = 1;
    g_runStatus = 1;
    WriteTimestampByHandle(W(file));
    ItemTimes times;
    ASSERT_TRUE(ReadItem(file, &times));
    SYSTEMTIME stored;
    FileTimeToSystemTime(&times.written, &stored);
    EXPECT_EQ(g_runStatus, 1);
    EXPECT_EQ(stored.wHour, 10) << "NTFS on a newer system keeps the date's own rule";

    g_ntfsVolume = 0;  // a volume keeping local time: today's bias, as the system does
    WriteTimestampByHandle(W(file));
    ASSERT_TRUE(ReadItem(file, &times));
    FileTimeToSystemTime(&times.written, &stored);
    EXPECT_EQ(stored.wHour * 60 + stored.wMinute, 12 * 60 + CurrentBiasMinutes());
}

// Australia/Sydney: UTC+11 in January (summer), UTC+10 in July.
TEST(Sydney, SouthernSummerIsInJanuary)
{
    REQUIRE_ZONE("Australia/Sydney");
    EXPECT_EQ(UtcMinutes(Local(2010, 1, 15, 12, 0), TimeRule::RuleOfTheDate), 1 * 60);
    EXPECT_EQ(UtcMinutes(Local(2010, 7, 1, 12, 0), TimeRule::RuleOfTheDate), 2 * 60);
}

// UTC: no daylight saving, both rules agree.
TEST(Utc, BothRulesAgreeWithoutDaylightSaving)
{
    REQUIRE_ZONE("UTC");
    for (int month : {1, 7}) {
        SYSTEMTIME t = Local(2010, month, 1, 12, 0);
        EXPECT_EQ(UtcMinutes(t, TimeRule::RuleOfTheDate), 12 * 60) << month;
        EXPECT_EQ(UtcMinutes(t, TimeRule::CurrentBias), 12 * 60) << month;
    }
}

}  // namespace
