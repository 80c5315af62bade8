#include "controls/CalendarLayout.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int LastYear = 9999;

TDateTime WholeDay(TDateTime value)
{
    return std::floor(value);
}

TDateTime FirstOfMonth(TDateTime value)
{
    const TCivilDate civil = DecodeDate(value);
    return EncodeDate(civil.Year, civil.Month, 1);
}

TCalendarMonth LayOutMonth(const TCalendarGeometry& g, int year, int month, int bx, int by)
{
    const int cw = g.CellWidth;
    const int ch = g.CellHeight;
    TCalendarMonth m;
    m.Year = static_cast<uint16_t>(year);
    m.Month = static_cast<uint16_t>(month);
    m.Title = std::string(MonthNames[month - 1]) + ' ' + std::to_string(year);
    m.TitleBand = { bx, by, bx + 7 * cw + 1, by + 2 * ch };
    m.TitleTop = by + ch / 2;
    m.Body = { bx, by + 2 * ch, bx + 7 * cw + 1, by + 9 * ch };
    for (int i = 0; i < 7; ++i)
        m.WeekDayCells[i] = { bx + i * cw, by + 2 * ch, bx + (i + 1) * cw, by + 3 * ch };
    m.Rule = { bx + 2, by + 3 * ch - 1, bx + 7 * cw - 1, by + 3 * ch };

    TDateTime date = EncodeDate(year, month, 1);
    const int offset = DayOfWeek(date) - 1; // Sunday 0 .. Saturday 6
    const int length = DaysInMonth(year, month);
    m.Days.reserve(length);
    for (int n = 1; n <= length; ++n) {
        const int p = n + offset - 1;
        const int left = bx + (p % 7) * cw;
        const int top = by + (p / 7 + 3) * ch;
        m.Days.push_back({ date, m.Year, m.Month, static_cast<uint16_t>(n),
            { left, top, left + cw, top + ch } });
        date += 1;
    }
    return m;
}

} // namespace

TCalendarLayout WalkCalendar(const TCalendarGeometry& g, TDateTime firstMonth)
{
    TCalendarLayout layout;
    const TCivilDate first = DecodeDate(firstMonth);
    int year = std::clamp<int>(first.Year, 1, LastYear);
    int month = first.Month == 0 ? 1 : first.Month;
    int bx = 0;
    int by = 0;
    do {
        layout.Months.push_back(LayOutMonth(g, year, month, bx, by));
        if (++month > 12) {
            month = 1;
            ++year;
        }
        bx += 7 * g.CellWidth + MonthGap;
        if (g.ClientWidth < bx + 7 * g.CellWidth) {
            by += 9 * g.CellHeight + MonthGap;
            bx = 0;
        }
        // The last month that has a date ends the walk, whatever the room left.
    } while (g.ClientHeight >= by + 9 * g.CellHeight && year <= LastYear);
    const TCalendarMonth& last = layout.Months.back();
    layout.ShownEnd = last.Days.back().Date + 1;
    return layout;
}

std::optional<TDateTime> HitTest(const TCalendarLayout& layout, int x, int y)
{
    for (const TCalendarMonth& month : layout.Months) {
        if (!month.Body.Contains(x, y))
            continue;
        for (const TCalendarDay& day : month.Days)
            if (day.Cell.Contains(x, y))
                return day.Date;
    }
    return std::nullopt;
}

bool InRange(TDateTime day, TDateTime end1, TDateTime end2)
{
    return day >= std::min(end1, end2) && day <= std::max(end1, end2);
}

std::vector<TCalendarRect> CellsBetween(const TCalendarLayout& layout, TDateTime a, TDateTime b)
{
    std::vector<TCalendarRect> cells;
    for (const TCalendarMonth& month : layout.Months)
        for (const TCalendarDay& day : month.Days)
            if (InRange(day.Date, a, b))
                cells.push_back(day.Cell);
    return cells;
}

TCalendarState::TCalendarState(TDateTime today)
    : DateValue(WholeDay(today))
    , DateRangeValue(DateValue)
    , FirstMonthValue(DateValue)
{
    Relayout();
}

void TCalendarState::SetDate(TDateTime date)
{
    date = WholeDay(date);
    if (date < FirstOfMonth(FirstMonthValue) || date >= Layout.ShownEnd) {
        FirstMonthValue = date;
        Relayout();
    }
    DateValue = date;
    DateRangeValue = date;
}

void TCalendarState::SetDateRange(TDateTime date)
{
    DateRangeValue = WholeDay(date);
}

void TCalendarState::ScrollMonths(int count)
{
    const TCivilDate first = DecodeDate(FirstMonthValue);
    int year = first.Year;
    int month = first.Month;
    for (; count > 0; --count) {
        if (year == LastYear && month == 12)
            break;
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    for (; count < 0; ++count) {
        if (year == 1 && month == 1)
            break;
        if (--month < 1) {
            month = 12;
            --year;
        }
    }
    FirstMonthValue = EncodeDate(year, month, 1);
    Relayout();
}

TCalendarClick TCalendarState::Press(int x, int y, bool shift)
{
    const std::optional<TDateTime> hit = HitTest(Layout, x, y);
    if (!hit)
        return {};
    TCalendarClick click;
    click.Handled = true;
    click.Repaint = CellsBetween(Layout, DateRangeValue, DateValue);
    DateRangeValue = *hit;
    if (!(AllowRangeValue && shift))
        DateValue = *hit;
    const std::vector<TCalendarRect> marked = CellsBetween(Layout, DateRangeValue, DateValue);
    click.Repaint.insert(click.Repaint.end(), marked.begin(), marked.end());
    return click;
}

TCalendarClick TCalendarState::Release(int x, int y)
{
    if (!AllowRangeValue)
        return {};
    return Press(x, y, true);
}

void TCalendarState::SetGeometry(const TCalendarGeometry& geometry)
{
    if (geometry == GeometryValue)
        return;
    GeometryValue = geometry;
    Relayout();
}

void TCalendarState::Relayout()
{
    Layout = WalkCalendar(GeometryValue, FirstMonthValue);
}
