#include "controls/CalendarLayout.h"

#include <gtest/gtest.h>

namespace
{

// Cells 20 by 10: a month block is 141 by 90, and months sit 146 apart
// across and 96 apart down.
TCalendarGeometry Surface(int width, int height)
{
    return { 20, 10, width, height };
}

const TCalendarDay& DayOf(const TCalendarMonth& month, int day)
{
    return month.Days.at(day - 1);
}

std::vector<std::pair<int, int>> Shown(const TCalendarLayout& layout)
{
    std::vector<std::pair<int, int>> months;
    for (const TCalendarMonth& m : layout.Months)
        months.emplace_back(m.Year, m.Month);
    return months;
}

} // namespace

TEST(CalendarWalk, FebruaryFollowsTheLeapYearRule)
{
    for (auto [year, days] : { std::pair { 1900, 28 }, { 2000, 29 }, { 2001, 28 }, { 2004, 29 } }) {
        const TCalendarLayout layout = WalkCalendar(Surface(10, 10), EncodeDate(year, 2, 17));
        ASSERT_EQ(layout.Months.size(), 1u) << year;
        const TCalendarMonth& feb = layout.Months[0];
        EXPECT_EQ(feb.Days.size(), std::size_t(days)) << year;
        EXPECT_EQ(feb.Days.back().Date, EncodeDate(year, 2, days)) << year;
        EXPECT_EQ(layout.ShownEnd, EncodeDate(year, 3, 1)) << year;
    }
}

TEST(CalendarWalk, FirstDaySitsUnderItsWeekDay)
{
    // 1 January 2000 was a Saturday, 1 April 1999 a Thursday, 1 August 1999 a Sunday.
    const TCalendarMonth jan = WalkCalendar(Surface(0, 0), EncodeDate(2000, 1, 1)).Months[0];
    EXPECT_EQ(DayOf(jan, 1).Cell, (TCalendarRect { 120, 30, 140, 40 }));
    EXPECT_EQ(DayOf(jan, 2).Cell, (TCalendarRect { 0, 40, 20, 50 }));
    // Six week rows: the 31st is in the last one, Monday.
    EXPECT_EQ(DayOf(jan, 31).Cell, (TCalendarRect { 20, 80, 40, 90 }));

    const TCalendarMonth apr = WalkCalendar(Surface(0, 0), EncodeDate(1999, 4, 30)).Months[0];
    EXPECT_EQ(DayOf(apr, 1).Cell.Left, 80);
    EXPECT_EQ(DayOf(apr, 3).Cell.Left, 120);
    EXPECT_EQ(DayOf(apr, 4).Cell, (TCalendarRect { 0, 40, 20, 50 }));

    const TCalendarMonth aug = WalkCalendar(Surface(0, 0), EncodeDate(1999, 8, 9)).Months[0];
    EXPECT_EQ(DayOf(aug, 1).Cell, (TCalendarRect { 0, 30, 20, 40 }));
    EXPECT_EQ(DayOf(aug, 1).Date, EncodeDate(1999, 8, 1));
    EXPECT_EQ(DayOf(aug, 9).Day, 9);
}

TEST(CalendarWalk, MonthFrameParts)
{
    const TCalendarLayout layout = WalkCalendar(Surface(300, 90), EncodeDate(1999, 4, 12));
    ASSERT_EQ(layout.Months.size(), 2u);
    const TCalendarMonth& may = layout.Months[1];
    EXPECT_EQ(layout.Months[0].Title, "April 1999");
    EXPECT_EQ(may.Title, "May 1999");
    EXPECT_EQ(may.TitleBand, (TCalendarRect { 146, 0, 287, 20 }));
    EXPECT_EQ(may.TitleTop, 5);
    EXPECT_EQ(may.Body, (TCalendarRect { 146, 20, 287, 90 }));
    EXPECT_EQ(may.WeekDayCells[0], (TCalendarRect { 146, 20, 166, 30 }));
    EXPECT_EQ(may.WeekDayCells[6], (TCalendarRect { 266, 20, 286, 30 }));
    EXPECT_EQ(may.Rule, (TCalendarRect { 148, 29, 285, 30 }));
}

TEST(CalendarWalk, OnlyWholeMonthBlocksAreAdded)
{
    const TDateTime april = EncodeDate(1999, 4, 1);
    using Months = std::vector<std::pair<int, int>>;
    // Too small for even one month: the first is laid out all the same.
    EXPECT_EQ(Shown(WalkCalendar(Surface(10, 10), april)), (Months { { 1999, 4 } }));
    // A second month across needs 146 + 140 pixels.
    EXPECT_EQ(Shown(WalkCalendar(Surface(285, 90), april)), (Months { { 1999, 4 } }));
    EXPECT_EQ(Shown(WalkCalendar(Surface(286, 90), april)), (Months { { 1999, 4 }, { 1999, 5 } }));
    // A second row needs 96 + 90 pixels.
    EXPECT_EQ(Shown(WalkCalendar(Surface(286, 185), april)).size(), 2u);
    const TCalendarLayout four = WalkCalendar(Surface(286, 186), april);
    ASSERT_EQ(four.Months.size(), 4u);
    EXPECT_EQ(four.Months[2].TitleBand.Left, 0);
    EXPECT_EQ(four.Months[2].TitleBand.Top, 96);
    EXPECT_EQ(four.Months[3].TitleBand.Left, 146);
    EXPECT_EQ(four.ShownEnd, EncodeDate(1999, 8, 1));
    // Too narrow for one block, tall enough for two: they stack.
    EXPECT_EQ(Shown(WalkCalendar(Surface(100, 186), april)).size(), 2u);
}

TEST(CalendarWalk, MonthsRunOnIntoTheNextYear)
{
    const TCalendarLayout layout = WalkCalendar(Surface(432, 186), EncodeDate(1999, 11, 30));
    EXPECT_EQ(Shown(layout),
        (std::vector<std::pair<int, int>> {
            { 1999, 11 }, { 1999, 12 }, { 2000, 1 }, { 2000, 2 }, { 2000, 3 }, { 2000, 4 } }));
    EXPECT_EQ(layout.ShownEnd, EncodeDate(2000, 5, 1));
    // Every day follows the one before, across the turn of the year.
    TDateTime expected = EncodeDate(1999, 11, 1);
    for (const TCalendarMonth& m : layout.Months)
        for (const TCalendarDay& d : m.Days)
            ASSERT_EQ(d.Date, expected++);
}

TEST(CalendarWalk, TheWalkStopsAtTheLastYearThatHasDates)
{
    const TCalendarLayout layout = WalkCalendar(Surface(2000, 2000), EncodeDate(9999, 11, 1));
    EXPECT_EQ(Shown(layout), (std::vector<std::pair<int, int>> { { 9999, 11 }, { 9999, 12 } }));
}

TEST(CalendarHitTest, OnlyDayCellsGiveADate)
{
    const TCalendarLayout layout = WalkCalendar(Surface(300, 90), EncodeDate(2000, 1, 1));
    // January 2000 fills cells 6 to 36; February starts on a Tuesday at x 146.
    EXPECT_EQ(HitTest(layout, 120, 30), EncodeDate(2000, 1, 1));
    EXPECT_EQ(HitTest(layout, 139, 39), EncodeDate(2000, 1, 1));
    EXPECT_EQ(HitTest(layout, 140, 39), std::nullopt); // right of the block
    EXPECT_EQ(HitTest(layout, 0, 40), EncodeDate(2000, 1, 2));
    EXPECT_EQ(HitTest(layout, 146 + 40, 30), EncodeDate(2000, 2, 1));

    EXPECT_EQ(HitTest(layout, 70, 5), std::nullopt); // title band
    EXPECT_EQ(HitTest(layout, 70, 25), std::nullopt); // week-day row
    EXPECT_EQ(HitTest(layout, 143, 50), std::nullopt); // gap between the months
    EXPECT_EQ(HitTest(layout, 10, 30), std::nullopt); // the empty Sunday before the 1st
    EXPECT_EQ(HitTest(layout, 70, 85), std::nullopt); // the empty end of the last week
    EXPECT_EQ(HitTest(layout, 50, 95), std::nullopt); // below every block
    EXPECT_EQ(HitTest(layout, -1, 35), std::nullopt);
}

TEST(CalendarHitTest, TheEpochDayIsADayLikeAnyOther)
{
    // 30 December 1899 is day 0, and still a day that can be chosen.
    const TCalendarLayout layout = WalkCalendar(Surface(10, 10), EncodeDate(1899, 12, 1));
    const TCalendarRect cell = layout.Months[0].Days.at(29).Cell;
    const std::optional<TDateTime> hit = HitTest(layout, cell.Left, cell.Top);
    ASSERT_TRUE(hit.has_value());
    EXPECT_EQ(*hit, 0.0);
}

TEST(CalendarRange, EitherEndMayComeFirst)
{
    const TDateTime a = EncodeDate(2000, 1, 30);
    const TDateTime b = EncodeDate(2000, 2, 2);
    EXPECT_TRUE(InRange(a, b, a));
    EXPECT_TRUE(InRange(a + 2, b, a));
    EXPECT_TRUE(InRange(b, b, a));
    EXPECT_FALSE(InRange(a - 1, b, a));
    EXPECT_FALSE(InRange(b + 1, a, b));

    const TCalendarLayout layout = WalkCalendar(Surface(300, 90), EncodeDate(2000, 1, 1));
    const std::vector<TCalendarRect> cells = CellsBetween(layout, b, a);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], layout.Months[0].Days[29].Cell);
    EXPECT_EQ(cells[3], layout.Months[1].Days[1].Cell);
    // Days that are not laid out have no cells.
    EXPECT_TRUE(CellsBetween(layout, EncodeDate(2000, 3, 1), EncodeDate(2000, 3, 5)).empty());
}
