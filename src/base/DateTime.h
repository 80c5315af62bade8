#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The date-time value shared by the whole program: days since 30 December 1899
// as a double, whose fraction is the time of day. Diary dates are whole days.
// Nothing here reads the local time zone; "now" comes from an IClock.
using TDateTime = double;

struct TCivilDate {
    uint16_t Year = 0;
    uint16_t Month = 0; // 1..12
    uint16_t Day = 0; // 1..31
    friend bool operator==(const TCivilDate&, const TCivilDate&) = default;
};

struct TCivilTime {
    uint16_t Hour = 0;
    uint16_t Minute = 0;
    uint16_t Second = 0;
    uint16_t MilliSecond = 0;
    friend bool operator==(const TCivilTime&, const TCivilTime&) = default;
};

// Fixed English names, used in files and in the month calendar whatever the locale.
inline constexpr std::array<std::string_view, 12> MonthNames { "January", "February", "March",
    "April", "May", "June", "July", "August", "September", "October", "November", "December" };
// The week starts on Sunday.
inline constexpr std::array<std::string_view, 7> WeekDayNames { "Sun", "Mon", "Tue", "Wed", "Thu",
    "Fri", "Sat" };

bool IsLeapYear(int year);
// 31, 28 or 29, 31, ...; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);
bool IsValidTime(int hour, int minute, int second = 0, int milliSecond = 0);

// Whole days since 30 December 1899 for a valid date (years 1..9999).
// TryEncodeDate leaves `result` alone and returns false for a date that does not exist.
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day); // a date that does not exist gives 0
// The fraction of a day for a valid time; TryEncodeTime returns false otherwise.
bool TryEncodeTime(int hour, int minute, int second, int milliSecond, TDateTime& result);
TDateTime EncodeTime(int hour, int minute, int second = 0, int milliSecond = 0);

// The civil date and time of a value; the time is rounded to the millisecond,
// and a rounding that reaches midnight carries into the next day.
TCivilDate DecodeDate(TDateTime value);
TCivilTime DecodeTime(TDateTime value);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);
// The whole-day part (the date at midnight).
TDateTime DateOf(TDateTime value);

// Where the program reads the current local date and time. Tests set their own.
class IClock
{
public:
    virtual ~IClock() = default;
    virtual TDateTime Now() const = 0;
};

// A clock that shows whatever a test sets.
class TFixedClock final : public IClock
{
public:
    explicit TFixedClock(TDateTime now = 0)
        : Value(now)
    {
    }
    TDateTime Now() const override { return Value; }
    void Set(TDateTime now) { Value = now; }
    void Advance(TDateTime days) { Value += days; }

private:
    TDateTime Value;
};
