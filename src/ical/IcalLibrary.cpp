#include "ical/IcalLibrary.h"

#include "ical/IcalDiary.h"

#include <cstdlib>
#include <filesystem>

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

std::string LocalZoneName()
{
    const auto named = [](std::string path) {
        const size_t at = path.find("zoneinfo/");
        return at == std::string::npos ? std::string() : path.substr(at + 9);
    };
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string name = *tz == ':' ? tz + 1 : tz;
        return name.front() == '/' ? named(name) : name;
    }
    std::error_code error;
    return named(std::filesystem::read_symlink("/etc/localtime", error).string());
}
