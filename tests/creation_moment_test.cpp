#include <gtest/gtest.h>

#include "creation_moment.h"

namespace {

DateTime At(int year, int month, int day, int hour, int minute, int second)
{
    DateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

void ExpectMoment(const DateTime &target, const DateTime &expected)
{
    DateTime moment = At(1, 1, 1, 1, 1, 1);
    ASSERT_TRUE(ComputeCreationMoment(target, &moment));
    EXPECT_EQ(moment.year, expected.year);
    EXPECT_EQ(moment.month, expected.month);
    EXPECT_EQ(moment.day, expected.day);
    EXPECT_EQ(moment.hour, expected.hour);
    EXPECT_EQ(moment.minute, expected.minute);
    EXPECT_EQ(moment.second, expected.second);
}

TEST(CreationMoment, OneSecondBeforeWithinTheMinute)
{
    ExpectMoment(At(2010, 5, 6, 12, 0, 30), At(2010, 5, 6, 12, 0, 29));
}

TEST(CreationMoment, BorrowsThroughMinuteHourAndDay)
{
    ExpectMoment(At(2010, 5, 6, 12, 34, 0), At(2010, 5, 6, 12, 33, 59));
    ExpectMoment(At(2010, 5, 6, 12, 0, 0), At(2010, 5, 6, 11, 59, 59));
    ExpectMoment(At(2010, 5, 6, 0, 0, 0), At(2010, 5, 5, 23, 59, 59));
}

TEST(CreationMoment, MonthEndsOfTheCalendar)
{
    ExpectMoment(At(2000, 3, 1, 0, 0, 0), At(2000, 2, 29, 23, 59, 59));
    ExpectMoment(At(1999, 3, 1, 0, 0, 0), At(1999, 2, 28, 23, 59, 59));
    ExpectMoment(At(2300, 3, 1, 0, 0, 0), At(2300, 2, 28, 23, 59, 59));
    ExpectMoment(At(2001, 1, 1, 0, 0, 0), At(2000, 12, 31, 23, 59, 59));
    ExpectMoment(At(2001, 5, 1, 0, 0, 0), At(2001, 4, 30, 23, 59, 59));
    // every month after a 31-day month and after a 30-day month
    const int after31[] = {2, 4, 6, 8, 9, 11};
    for (int month : after31) ExpectMoment(At(2003, month, 1, 0, 0, 0), At(2003, month - 1, 31, 23, 59, 59));
    const int after30[] = {5, 7, 10, 12};
    for (int month : after30) ExpectMoment(At(2003, month, 1, 0, 0, 0), At(2003, month - 1, 30, 23, 59, 59));
}

TEST(CreationMoment, The1980LimitRefusesOnlyTheFirstSecondsOf1980)
{
    DateTime untouched = At(7, 7, 7, 7, 7, 7);
    EXPECT_FALSE(ComputeCreationMoment(RoundedToEvenSecond(At(1980, 1, 1, 0, 0, 0)), &untouched));
    EXPECT_FALSE(ComputeCreationMoment(RoundedToEvenSecond(At(1980, 1, 1, 0, 0, 1)), &untouched));
    EXPECT_EQ(untouched.year, 7);
    EXPECT_EQ(untouched.second, 7);
    ExpectMoment(RoundedToEvenSecond(At(1980, 1, 1, 0, 0, 2)), At(1980, 1, 1, 0, 0, 1));
    ExpectMoment(At(1980, 1, 2, 0, 0, 0), At(1980, 1, 1, 23, 59, 59));
}

TEST(CreationMoment, RoundingKeepsEvenSecondsAndLowersOddOnes)
{
    EXPECT_EQ(RoundedToEvenSecond(At(2010, 5, 6, 12, 34, 31)).second, 30);
    EXPECT_EQ(RoundedToEvenSecond(At(2010, 5, 6, 12, 34, 30)).second, 30);
    EXPECT_EQ(RoundedToEvenSecond(At(2010, 5, 6, 12, 34, 59)).second, 58);
    EXPECT_EQ(RoundedToEvenSecond(At(2010, 5, 6, 12, 34, 59)).minute, 34);
    // After rounding the creation moment's second is always odd.
    DateTime moment;
    ASSERT_TRUE(ComputeCreationMoment(RoundedToEvenSecond(At(2010, 5, 6, 12, 34, 31)), &moment));
    EXPECT_EQ(moment.second, 29);
}

}  // namespace
