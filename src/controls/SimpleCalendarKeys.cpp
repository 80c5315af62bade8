#include "controls/SimpleCalendar.h"

#include <algorithm>

namespace
{

// The same day `count` months on, or the last day of a shorter month.
TDateTime AddMonths(TDateTime date, int count)
{
    const TCivilDate day = DecodeDate(date);
    const int months = day.Year * 12 + (day.Month - 1) + count;
    const int year = months / 12;
    const int month = months % 12 + 1;
    return EncodeDate(year, month, std::min<int>(day.Day, DaysInMonth(year, month)));
}

} // namespace

void TSimpleCalendar::SetToday(std::function<TDateTime()> today)
{
    Today = std::move(today);
}

bool TSimpleCalendar::KeyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    if ((modifiers & ~Qt::KeypadModifier) != Qt::KeyboardModifiers())
        return false;
    const TDateTime date = Date();
    TDateTime next = date;
    switch (key) {
    case Qt::Key_Left:
        next = date - 1;
        break;
    case Qt::Key_Right:
        next = date + 1;
        break;
    case Qt::Key_Up:
        next = date - 7;
        break;
    case Qt::Key_Down:
        next = date + 7;
        break;
    case Qt::Key_PageUp:
        next = AddMonths(date, -1);
        break;
    case Qt::Key_PageDown:
        next = AddMonths(date, 1);
        break;
    case Qt::Key_Home:
        next = DateOf(Today());
        break;
    default:
        return false;
    }
    // Beyond the years a date can hold the choice stays.
    if (next >= 1)
        SetDate(next);
    return true;
}
