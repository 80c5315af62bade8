#include "base/DateTime.h"

#include <gtest/gtest.h>

TEST(DateTime, KnownDaysCountFromTheEpoch)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0); // 1900 is no leap year
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(2024, 3, 5), 45356.0);
}

TEST(DateTime, DatesThatDoNotExistAreRefused)
{
    TDateTime value = 7;
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, value));
    EXPECT_FALSE(TryEncodeDate(2024, 4, 31, value));
    EXPECT_FALSE(TryEncodeDate(2024, 13, 1, value));
    EXPECT_FALSE(TryEncodeDate(1900, 2, 29, value));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29, value));
    EXPECT_TRUE(TryEncodeDate(2004, 2, 29, value));
}

TEST(DateTime, EveryDayRoundTripsOverFourCenturies)
{
    TDateTime expected = EncodeDate(1801, 1, 1);
    for (int y = 1801; y <= 2201; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                const TDateTime v = EncodeDate(y, m, d);
                ASSERT_EQ(v, expected) << y << '-' << m << '-' << d;
                const TCivilDate c = DecodeDate(v + 0.75);
                ASSERT_EQ(c, (TCivilDate { uint16_t(y), uint16_t(m), uint16_t(d) }));
                expected += 1;
            }
}

TEST(DateTime, TimesDecodeToTheMillisecond)
{
    const TDateTime v = EncodeDate(2024, 3, 5) + EncodeTime(9, 30, 15, 250);
    EXPECT_EQ(DecodeTime(v), (TCivilTime { 9, 30, 15, 250 }));
    EXPECT_EQ(DecodeDate(v), (TCivilDate { 2024, 3, 5 }));
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const TCivilTime t = DecodeTime(100 + EncodeTime(minute / 60, minute % 60));
        ASSERT_EQ(t.Hour * 60 + t.Minute, minute);
        ASSERT_EQ(t.Second, 0);
    }
}

TEST(DateTime, RoundingToMidnightCarriesIntoTheNextDay)
{
    const TDateTime almost = EncodeDate(2024, 12, 31) + 0.9999999999;
    EXPECT_EQ(DecodeDate(almost), (TCivilDate { 2025, 1, 1 }));
    EXPECT_EQ(DecodeTime(almost), (TCivilTime { 0, 0, 0, 0 }));
}

TEST(DateTime, WeekDaysStartOnSunday)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7); // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1); // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 7) + 0.5), 2); // Monday
    EXPECT_EQ(WeekDayNames[DayOfWeek(EncodeDate(2026, 12, 7)) - 1], "Mon");
}

TEST(DateTime, DaysInMonthFollowsTheLeapRules)
{
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2001, 2), 28);
    EXPECT_EQ(DaysInMonth(2004, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 4), 30);
    EXPECT_EQ(DaysInMonth(2024, 0), 0);
}
