#include <gtest/gtest.h>

#include <cstring>

#include "language.h"
#include "target_time.h"

namespace {

struct LanguageGuard {
    explicit LanguageGuard(int mode) : saved(g_japaneseMode) { g_japaneseMode = mode; }
    ~LanguageGuard() { g_japaneseMode = saved; }
    int saved;
};

TEST(LeapYear, FollowsTheGregorianRule)
{
    EXPECT_EQ(IsLeapYear(2000), 1);
    EXPECT_EQ(IsLeapYear(2004), 1);
    EXPECT_EQ(IsLeapYear(2400), 1);
    EXPECT_EQ(IsLeapYear(1900), 0);
    EXPECT_EQ(IsLeapYear(2100), 0);
    EXPECT_EQ(IsLeapYear(2001), 0);
}

TEST(DateTimeText, EnglishPutsMonthFirstWithTwoSpacesBeforeTheTime)
{
    LanguageGuard english(0);
    char text[kDateTimeTextSize];
    FormatDateTime(2010, 5, 6, 12, 34, 31, text);
    EXPECT_STREQ(text, "05/06/2010  12:34:31");
    FormatDateTime(1980, 1, 1, 0, 0, 0, text);
    EXPECT_STREQ(text, "01/01/1980  00:00:00");
}

TEST(DateTimeText, JapanesePutsYearFirst)
{
    LanguageGuard japanese(1);
    char text[kDateTimeTextSize];
    FormatDateTime(2010, 5, 6, 12, 34, 31, text);
    EXPECT_STREQ(text, "2010/05/06  12:34:31");
}

TEST(DateTimeText, NeverOverrunsItsBufferWithHugeValues)
{
    LanguageGuard english(0);
    char text[kDateTimeTextSize];
    FormatDateTime(-2000000000, -2000000000, -2000000000, -2000000000, -2000000000, -2000000000,
                   text);
    EXPECT_LT(std::char_traits<char>::length(text), static_cast<size_t>(kDateTimeTextSize));
}

TEST(TimeFields, ReadLikeTheCLibraryDecimalConversion)
{
    EXPECT_EQ(ReadTimeField(" 7"), 7);
    EXPECT_EQ(ReadTimeField(""), 0);
    EXPECT_EQ(ReadTimeField("07"), 7);
    EXPECT_EQ(ReadTimeField("-3x"), -3);
    EXPECT_EQ(ReadTimeField("12abc"), 12);
}

TEST(TimeFields, WriteClearsTheFieldAndUsesNoLeadingZeros)
{
    char field[kTimeFieldSize];
    std::memset(field, 'x', sizeof field);
    WriteTimeField(field, 7);
    EXPECT_STREQ(field, "7");
    for (int i = 2; i < kTimeFieldSize; ++i) EXPECT_EQ(field[i], 0) << i;
    WriteTimeField(field, 1980);
    EXPECT_STREQ(field, "1980");
}

TEST(TimeFields, ValidDatesKnowTheMonthLengths)
{
    EXPECT_TRUE(IsValidDateTime({2000, 2, 29, 23, 59, 59}));
    EXPECT_FALSE(IsValidDateTime({2001, 2, 29, 0, 0, 0}));
    EXPECT_FALSE(IsValidDateTime({2010, 4, 31, 12, 0, 0}));
    EXPECT_TRUE(IsValidDateTime({2010, 4, 30, 12, 0, 0}));
    EXPECT_FALSE(IsValidDateTime({2010, 13, 1, 0, 0, 0}));
    EXPECT_FALSE(IsValidDateTime({2010, 1, 1, 24, 0, 0}));
    EXPECT_FALSE(IsValidDateTime({2010, 1, 1, 0, 60, 0}));
    EXPECT_FALSE(IsValidDateTime({2010, 1, 0, 0, 0, 0}));
}

}  // namespace
