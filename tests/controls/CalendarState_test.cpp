#include "controls/CalendarLayout.h"

#include <gtest/gtest.h>

namespace
{

// Room for two months side by side: cells 20 by 10.
const TCalendarGeometry TwoMonths { 20, 10, 300, 90 };

TCalendarState StateAt(TDateTime today)
{
    TCalendarState state(today);
    state.SetGeometry(TwoMonths);
    return state;
}

TCalendarRect CellOf(const TCalendarState& state, TDateTime day)
{
    const std::vector<TCalendarRect> cells = CellsBetween(state.Months(), day, day);
    EXPECT_EQ(cells.size(), 1u);
    return cells.empty() ? TCalendarRect {} : cells[0];
}

TCalendarClick PressOn(TCalendarState& state, TDateTime day, bool shift = false)
{
    const TCalendarRect cell = CellOf(state, day);
    return state.Press(cell.Left + 1, cell.Top + 1, shift);
}

} // namespace

TEST(CalendarState, StartsOnTodayAsAWholeDay)
{
    const TCalendarState state = StateAt(EncodeDate(2000, 1, 15) + 0.75);
    EXPECT_EQ(state.Date(), EncodeDate(2000, 1, 15));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 1, 15));
    EXPECT_EQ(state.ShownEnd(), EncodeDate(2000, 3, 1));
    EXPECT_FALSE(state.AllowRange());
}

TEST(CalendarState, SettingADateOnScreenKeepsTheMonths)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    state.SetDate(EncodeDate(2000, 2, 29) + 0.5);
    EXPECT_EQ(state.Date(), EncodeDate(2000, 2, 29));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 2, 29));
    EXPECT_EQ(DecodeDate(state.FirstMonth()).Month, 1);
    EXPECT_EQ(state.ShownEnd(), EncodeDate(2000, 3, 1));

    state.SetDate(EncodeDate(2000, 1, 1));
    EXPECT_EQ(DecodeDate(state.FirstMonth()).Month, 1);
}

TEST(CalendarState, SettingADateOffScreenShowsItsMonthFirst)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    state.SetDate(EncodeDate(2000, 3, 1)); // the day after the last shown
    EXPECT_EQ(DecodeDate(state.FirstMonth()), (TCivilDate { 2000, 3, 1 }));
    EXPECT_EQ(state.ShownEnd(), EncodeDate(2000, 5, 1));

    state.SetDate(EncodeDate(2000, 2, 28)); // before the first shown month
    EXPECT_EQ(DecodeDate(state.FirstMonth()).Month, 2);
    EXPECT_EQ(state.ShownEnd(), EncodeDate(2000, 4, 1));
    EXPECT_EQ(state.Date(), EncodeDate(2000, 2, 28));
}

TEST(CalendarState, DateRangeMovesOnlyTheFarEnd)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    state.SetDateRange(EncodeDate(2000, 1, 10));
    EXPECT_EQ(state.Date(), EncodeDate(2000, 1, 15));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 1, 10));
    EXPECT_TRUE(state.IsChosen(EncodeDate(2000, 1, 12)));
    EXPECT_FALSE(state.IsChosen(EncodeDate(2000, 1, 16)));
}

TEST(CalendarState, ScrollMonthsCrossesYearsBothWays)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    state.ScrollMonths(-1);
    EXPECT_EQ(state.FirstMonth(), EncodeDate(1999, 12, 1));
    EXPECT_EQ(state.ShownEnd(), EncodeDate(2000, 2, 1));
    state.ScrollMonths(+1);
    EXPECT_EQ(state.FirstMonth(), EncodeDate(2000, 1, 1));
    state.ScrollMonths(-25);
    EXPECT_EQ(state.FirstMonth(), EncodeDate(1997, 12, 1));
    state.ScrollMonths(14);
    EXPECT_EQ(state.FirstMonth(), EncodeDate(1999, 2, 1));
    // The choice is untouched.
    EXPECT_EQ(state.Date(), EncodeDate(2000, 1, 15));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 1, 15));
}

TEST(CalendarState, ScrollMonthsStopsAtTheEndsOfTheCalendar)
{
    TCalendarState state = StateAt(EncodeDate(9999, 11, 15));
    state.ScrollMonths(5);
    EXPECT_EQ(state.FirstMonth(), EncodeDate(9999, 12, 1));
    state.SetDate(EncodeDate(1, 2, 3));
    state.ScrollMonths(-3);
    EXPECT_EQ(state.FirstMonth(), EncodeDate(1, 1, 1));
}

TEST(CalendarState, APressOnADayChoosesIt)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    const TCalendarClick click = PressOn(state, EncodeDate(2000, 2, 3));
    EXPECT_TRUE(click.Handled);
    EXPECT_EQ(state.Date(), EncodeDate(2000, 2, 3));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 2, 3));
    // A click never moves the months.
    EXPECT_EQ(DecodeDate(state.FirstMonth()).Month, 1);
    // Only the old day and the new one are to be repainted.
    const std::vector<TCalendarRect> expected { CellOf(state, EncodeDate(2000, 1, 15)),
        CellOf(state, EncodeDate(2000, 2, 3)) };
    EXPECT_EQ(click.Repaint, expected);

    EXPECT_TRUE(PressOn(state, EncodeDate(2000, 2, 3)).Handled) << "the same day again";
}

TEST(CalendarState, APressBesideTheDaysChangesNothing)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    state.SetAllowRange(true);
    for (auto [x, y] : { std::pair { 70, 5 }, { 70, 25 }, { 143, 50 }, { 10, 30 }, { 400, 400 } }) {
        const TCalendarClick click = state.Press(x, y, false);
        EXPECT_FALSE(click.Handled) << x << ',' << y;
        EXPECT_TRUE(click.Repaint.empty());
        EXPECT_FALSE(state.Release(x, y).Handled);
    }
    EXPECT_EQ(state.Date(), EncodeDate(2000, 1, 15));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 1, 15));
}

TEST(CalendarState, ShiftExtendsTheChoiceOnlyWhenRangesAreAllowed)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    PressOn(state, EncodeDate(2000, 1, 20), true);
    EXPECT_EQ(state.Date(), EncodeDate(2000, 1, 20));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 1, 20));

    state.SetAllowRange(true);
    const TCalendarClick click = PressOn(state, EncodeDate(2000, 1, 17), true);
    EXPECT_EQ(state.Date(), EncodeDate(2000, 1, 20));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 1, 17));
    // The old day, then the four days of the new range backwards.
    EXPECT_EQ(click.Repaint.size(), 5u);
    for (int day = 16; day <= 21; ++day)
        EXPECT_EQ(state.IsChosen(EncodeDate(2000, 1, day)), day >= 17 && day <= 20) << day;
}

TEST(CalendarState, ADragChoosesTheDaysBetweenPressAndRelease)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    const TCalendarRect to = CellOf(state, EncodeDate(2000, 2, 2));
    EXPECT_FALSE(state.Release(to.Left, to.Top).Handled) << "without ranges a release does nothing";
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 1, 15));

    state.SetAllowRange(true);
    PressOn(state, EncodeDate(2000, 1, 28));
    EXPECT_TRUE(state.Release(to.Left, to.Top).Handled);
    EXPECT_EQ(state.Date(), EncodeDate(2000, 1, 28));
    EXPECT_EQ(state.DateRange(), EncodeDate(2000, 2, 2));
    EXPECT_TRUE(state.IsChosen(EncodeDate(2000, 1, 31)));
}

TEST(CalendarState, ANewSizeShowsMoreMonths)
{
    TCalendarState state = StateAt(EncodeDate(2000, 1, 15));
    state.SetGeometry({ 20, 10, 432, 186 });
    EXPECT_EQ(state.ShownEnd(), EncodeDate(2000, 7, 1));
    // Larger cells on the same surface leave room for fewer.
    state.SetGeometry({ 30, 12, 432, 186 });
    EXPECT_EQ(state.ShownEnd(), EncodeDate(2000, 3, 1));
}
