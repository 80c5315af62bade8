#pragma once

#include "base/DateTime.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

// A rectangle in the calendar's paint surface; Right and Bottom lie outside it.
struct TCalendarRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TCalendarRect&, const TCalendarRect&) = default;
};

// What the walk over the months needs to know of the paint surface.
struct TCalendarGeometry {
    int CellWidth = 0; // width of "Wedi" in the surface's font
    int CellHeight = 0; // height of "Ag" in that font, plus 1
    int ClientWidth = 0;
    int ClientHeight = 0;
    friend bool operator==(const TCalendarGeometry&, const TCalendarGeometry&) = default;
};

struct TCalendarDay {
    TDateTime Date = 0; // the day's midnight
    uint16_t Year = 0;
    uint16_t Month = 0;
    uint16_t Day = 0;
    TCalendarRect Cell;
};

// One month block: a title band two cells high, the week-day row, then up to
// six week rows, seven cells wide.
struct TCalendarMonth {
    uint16_t Year = 0;
    uint16_t Month = 0;
    std::string Title; // "April 1999"
    TCalendarRect TitleBand; // also the span the title is centred across
    int TitleTop = 0; // the title text's top
    TCalendarRect Body; // the week-day row and the weeks
    std::array<TCalendarRect, 7> WeekDayCells; // "Sun" first
    TCalendarRect Rule; // the one-pixel line under the week-day row
    std::vector<TCalendarDay> Days;
};

struct TCalendarLayout {
    std::vector<TCalendarMonth> Months;
    TDateTime ShownEnd = 0; // the day after the last day laid out
};

// Lays out as many whole months as fit, starting at the month of `firstMonth`:
// left to right with 6-pixel gaps, then a new row of months below. The first
// month is always laid out, however small the surface.
inline constexpr int MonthGap = 6;
TCalendarLayout WalkCalendar(const TCalendarGeometry& geometry, TDateTime firstMonth);

// The day whose cell holds the point, if any.
std::optional<TDateTime> HitTest(const TCalendarLayout& layout, int x, int y);

// Whether a day lies between the two ends of a choice, in either order, both included.
bool InRange(TDateTime day, TDateTime end1, TDateTime end2);

// The cells of the days laid out between a and b (either order, both included).
std::vector<TCalendarRect> CellsBetween(const TCalendarLayout& layout, TDateTime a, TDateTime b);

struct TCalendarClick {
    bool Handled = false; // a day was hit: the choice was (re)made and the owner is to hear of it
    // The cells whose look may have changed: those of the old choice and of the new.
    std::vector<TCalendarRect> Repaint;
};

// The chosen day or range of days and the months shown, with the rules by
// which the mouse and the owner change them. Knows nothing of painting.
class TCalendarState
{
public:
    explicit TCalendarState(TDateTime today);

    TDateTime Date() const { return DateValue; }
    TDateTime DateRange() const { return DateRangeValue; }
    TDateTime FirstMonth() const { return FirstMonthValue; }
    TDateTime ShownEnd() const { return Layout.ShownEnd; }
    bool AllowRange() const { return AllowRangeValue; }
    void SetAllowRange(bool allow) { AllowRangeValue = allow; }

    // A day already on screen keeps the months shown; any other day becomes
    // the first month shown. Both ends of the choice become the day.
    void SetDate(TDateTime date);
    void SetDateRange(TDateTime date);
    // Moves the first month shown by count months, back when negative.
    void ScrollMonths(int count);

    // A mouse press at (x, y): a press outside every day cell changes nothing;
    // with Shift held and ranges allowed only the far end of the choice moves. A release with
    // ranges allowed acts as a press with Shift, so a drag chooses the days between; otherwise it
    // does nothing.
    TCalendarClick Press(int x, int y, bool shift);
    TCalendarClick Release(int x, int y);

    void SetGeometry(const TCalendarGeometry& geometry);
    const TCalendarGeometry& Geometry() const { return GeometryValue; }
    const TCalendarLayout& Months() const { return Layout; }
    bool IsChosen(TDateTime day) const { return InRange(day, DateValue, DateRangeValue); }

private:
    void Relayout();

    bool AllowRangeValue = false;
    TDateTime DateValue;
    TDateTime DateRangeValue;
    TDateTime FirstMonthValue;
    TCalendarGeometry GeometryValue;
    TCalendarLayout Layout;
};
