#include "base/DateTime.h"

#include <cmath>
#include <cstdint>

namespace
{

constexpr int64_t MilliSecondsPerDay = 86'400'000;

// Days from 1 January of year 1 (proleptic Gregorian) to the given date, 0-based.
int64_t DaysFromYearOne(int year, int month, int day)
{
    const int64_t y = year - 1;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days + day - 1;
}

// DaysFromYearOne of 30 December 1899. A constant, not a call, so that other
// files' constants built from dates never see it before it is set.
constexpr int64_t EpochOffset = 693'593;

// The value split into whole days and milliseconds of the day, with the
// millisecond rounding carried into the day.
void Split(TDateTime value, int64_t& days, int64_t& milliSeconds)
{
    const double whole = std::floor(value);
    days = static_cast<int64_t>(whole);
    milliSeconds = std::llround((value - whole) * static_cast<double>(MilliSecondsPerDay));
    if (milliSeconds >= MilliSecondsPerDay) {
        days += 1;
        milliSeconds -= MilliSecondsPerDay;
    }
}

} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int Lengths[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : Lengths[month - 1];
}

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second, int milliSecond)
{
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60
        && milliSecond >= 0 && milliSecond < 1000;
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (!IsValidDate(year, month, day))
        return false;
    result = static_cast<TDateTime>(DaysFromYearOne(year, month, day) - EpochOffset);
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime result = 0;
    TryEncodeDate(year, month, day, result);
    return result;
}

bool TryEncodeTime(int hour, int minute, int second, int milliSecond, TDateTime& result)
{
    if (!IsValidTime(hour, minute, second, milliSecond))
        return false;
    const int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + milliSecond;
    result = static_cast<double>(ms) / static_cast<double>(MilliSecondsPerDay);
    return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int milliSecond)
{
    TDateTime result = 0;
    TryEncodeTime(hour, minute, second, milliSecond, result);
    return result;
}

TCivilDate DecodeDate(TDateTime value)
{
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    int64_t n = days + EpochOffset; // days since 1 January of year 1
    if (n < 0)
        return {};
    // 400-year cycles of 146097 days, then centuries, 4-year cycles and years.
    const int64_t q400 = n / 146097;
    n %= 146097;
    int64_t q100 = n / 36524;
    if (q100 == 4)
        q100 = 3;
    n -= q100 * 36524;
    const int64_t q4 = n / 1461;
    n %= 1461;
    int64_t q1 = n / 365;
    if (q1 == 4)
        q1 = 3;
    n -= q1 * 365;
    const int year = static_cast<int>(q400 * 400 + q100 * 100 + q4 * 4 + q1 + 1);
    int month = 1;
    while (n >= DaysInMonth(year, month)) {
        n -= DaysInMonth(year, month);
        ++month;
    }
    return { static_cast<uint16_t>(year), static_cast<uint16_t>(month),
        static_cast<uint16_t>(n + 1) };
}

TCivilTime DecodeTime(TDateTime value)
{
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    TCivilTime t;
    t.Hour = static_cast<uint16_t>(ms / 3'600'000);
    t.Minute = static_cast<uint16_t>(ms / 60'000 % 60);
    t.Second = static_cast<uint16_t>(ms / 1000 % 60);
    t.MilliSecond = static_cast<uint16_t>(ms % 1000);
    return t;
}

int DayOfWeek(TDateTime value)
{
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    // Day 0, 30 December 1899, was a Saturday.
    const int64_t fromSunday = ((days + 6) % 7 + 7) % 7;
    return static_cast<int>(fromSunday) + 1;
}

TDateTime DateOf(TDateTime value)
{
    int64_t days = 0, ms = 0;
    Split(value, days, ms);
    return static_cast<TDateTime>(days);
}
