#include <gtest/gtest.h>

#include "read_back.h"
#include "target_time.h"
#include "test_support.h"
#include "timestamp_writer.h"
#include "volume_checks.h"

namespace {

FILETIME Plus(const FILETIME &t, long long seconds)
{
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    v.QuadPart += static_cast<unsigned long long>(seconds * 10000000LL);
    return {v.LowPart, v.HighPart};
}

const FILETIME kTarget = UtcOfLocal(2010, 5, 6, 12, 34, 30);

StoredTimes All(const FILETIME &t) { return {t, t, t}; }

TEST(ReadBack, NtfsKeepsCreationAndWriteTimeToTheSecond)
{
    EXPECT_TRUE(StoredTimesMatch(All(kTarget), kTarget, true, false));
    EXPECT_FALSE(StoredTimesMatch(All(Plus(kTarget, 1)), kTarget, true, false));
    EXPECT_FALSE(StoredTimesMatch(All(Plus(kTarget, -1)), kTarget, true, false));
    StoredTimes oldCreation = All(kTarget);
    oldCreation.created = Plus(kTarget, -86400 * 365);
    EXPECT_FALSE(StoredTimesMatch(oldCreation, kTarget, true, false))
        << "a creation time handed back by the file system is not the target";
}

TEST(ReadBack, OtherVolumesKeepWriteTimesInTwoSecondSteps)
{
    StoredTimes stored = All(kTarget);
    stored.written = Plus(kTarget, 1);
    EXPECT_TRUE(StoredTimesMatch(stored, kTarget, false, false));
    EXPECT_FALSE(StoredTimesMatch(stored, kTarget, true, false));
    stored.written = Plus(kTarget, 2);
    EXPECT_FALSE(StoredTimesMatch(stored, kTarget, false, false));
}

TEST(ReadBack, AccessTimeCountsByItsDate)
{
    StoredTimes stored = All(kTarget);
    stored.accessed = Plus(kTarget, 3600);  // 13:34 the same day
    EXPECT_TRUE(StoredTimesMatch(stored, kTarget, false, false));
    stored.accessed = Plus(kTarget, 86400);
    EXPECT_FALSE(StoredTimesMatch(stored, kTarget, false, false));
}

TEST(ReadBack, RebuiltFolderMayBeOneSecondEarly)
{
    const StoredTimes rebuilt = All(Plus(kTarget, -1));
    EXPECT_TRUE(StoredTimesMatch(rebuilt, kTarget, false, true));
    EXPECT_FALSE(StoredTimesMatch(rebuilt, kTarget, false, false));
    EXPECT_FALSE(StoredTimesMatch(All(Plus(kTarget, -2)), kTarget, true, true));
}

BOOL WriteFiveSecondsLate(HANDLE item, const FILETIME *, const FILETIME *, const FILETIME *written)
{
    const FILETIME late = Plus(*written, 5);
    return SetFileTime(item, &late, &late, &late);
}

TEST(ReadBack, HandleWriterCountsAChangeThatDidNotTakeAsAFailure)
{
    TempFolder folder;
    const std::string file = folder.Child("photo.jpg");
    ASSERT_TRUE(MakeFile(file));
    SeamGuard seams;
    IntGuard ntfs(g_ntfsVolume);
    IntGuard status(g_runStatus);
    g_ntfsVolume = 1;
    SetTargetTime(2010, 5, 6, 12, 34, 30);

    g_runStatus = 1;
    WriteTimestampByHandle(W(file));
    EXPECT_EQ(g_runStatus, 1) << "a change that took is no failure";

    g_platform.setItemTimes = WriteFiveSecondsLate;
    WriteTimestampByHandle(W(file));
    EXPECT_EQ(g_runStatus, 2);
}

}  // namespace
