#include "ical/IcalLibrary.h"

icaltimezone* ZoneNamed(const std::string& name)
{
    if (name.empty())
        return nullptr;
    if (name == "UTC" || name == "Etc/UTC" || name == "Z")
        return icaltimezone_get_utc_timezone();
    return icaltimezone_get_builtin_timezone(name.c_str());
}

icaltimetype IcalDate(int year, int month, int day)
{
    icaltimetype date = icaltime_null_date();
    date.year = year;
    date.month = month;
    date.day = day;
    return date;
}

icaltimetype IcalDateTime(int year, int month, int day, int hour, int minute)
{
    icaltimetype time = icaltime_null_time();
    time.year = year;
    time.month = month;
    time.day = day;
    time.hour = hour;
    time.minute = minute;
    return time;
}
